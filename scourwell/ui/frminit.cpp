// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frminit.h"

#include "purge/purgerun.h"
#include "schedule/jobhost.h"
#include "ui/artwork.h"
#include "ui/frmmain.h"
#include "ui/rundetails.h"
#include "ui/runnotifier.h"
#include "ui/trayicon.h"

#include <QFrame>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int InitInterval = 500;
} // namespace

frmInit::frmInit(StartOptions options, JobHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), m_options(std::move(options)), m_host(host)
{
    setObjectName(QStringLiteral("frmInit"));
    setWindowTitle(QStringLiteral("Scourwell Init"));
    setWindowIcon(Artwork::AppIcon());

    auto* shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameShape(QFrame::Box);
    auto* image = new QLabel(shape);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(Artwork::AppIcon().pixmap(48, 48));
    auto* label = new QLabel(QStringLiteral("Loading, Please Wait..."), shape);
    label->setObjectName(QStringLiteral("Label1"));
    auto* inner = new QHBoxLayout(shape);
    inner->setContentsMargins(16, 12, 24, 12);
    inner->setSpacing(16);
    inner->addWidget(image);
    inner->addWidget(label, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(shape);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    connect(m_timer, &QTimer::timeout, this, &frmInit::Tick);

    AddTrayIcon();
}

frmInit::~frmInit() = default;

// The tray icon lives with this window, so it stays while the main window is hidden; so
// does the notifier, whose fallback is the icon's balloon.
void frmInit::AddTrayIcon()
{
    auto* tray = new TrayIcon(
        Artwork::AppIcon(),
        [this] {
            // Asked before the main window exists (the start is still under way): it shows
            // when it comes, and /systray does not hide it then.
            m_bringBackAsked = true;
            if (m_main)
                m_main->ShowFromTray();
        },
        this);
    auto* notifier = new RunNotifier(
        m_host.Table(), std::make_unique<BusNotifications>(),
        [icon = &tray->Icon()](const QString& title, const QString& text) {
            if (icon->isVisible())
                icon->showMessage(title, text);
        },
        [this](const RunResult& result) {
            if (m_main)
                ShowRunDetails(*m_main, RunNotifier::DetailsText(result));
        },
        [this](const RunResult& result) {
            if (m_main)
                Q_EMIT m_main->UndoRunAsked(result.recordFile);
        },
        this);
    connect(&m_host, &JobHost::RunFinished, notifier, &RunNotifier::RunFinished);
    connect(&tray->Icon(), &QSystemTrayIcon::messageClicked, notifier, &RunNotifier::BalloonClicked);
}

// Runs when the window shows: an activation may never come on a desktop without a window
// manager, and the window shows only once.
void frmInit::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        Prepare();
}

void frmInit::Prepare()
{
    m_host.Prepare();
    m_timer->start(InitInterval);
}

void frmInit::Tick()
{
    hide();
    if (!m_main) {
        m_main = std::make_unique<frmMain>(m_host, m_options.trayAvailable);
        connect(m_main.get(), &frmMain::Unloaded, this, [this] {
            close();
            Q_EMIT ProgramEnded();
        });
    }
    m_main->show();
    m_timer->stop();
    if (m_options.commandLine.toLower() == QLatin1String("/systray") && !m_bringBackAsked)
        m_main->HideToTray();
}
