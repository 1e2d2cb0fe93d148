// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmsplash.h"

#include "ui/artwork.h"

#include <QDesktopServices>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int SplashInterval = 2000;
const char WebAddress[] = "https://scourwell.example.org";

QString PlatformText()
{
#if defined(Q_OS_LINUX)
    return QStringLiteral("for Linux");
#elif defined(Q_OS_WIN)
    return QStringLiteral("for Windows");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("for macOS");
#else
    return QStringLiteral("for ") + QSysInfo::productType();
#endif
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

frmSplash::frmSplash(SplashRole role, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_role(role)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowIcon(Artwork::AppIcon());
    setAttribute(Qt::WA_DeleteOnClose);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);

    auto* logo = NewLabel(frame, "imgLogo", QString());
    logo->setPixmap(Artwork::SplashLogo(128));
    logo->setAlignment(Qt::AlignCenter);

    auto* product = NewLabel(frame, "lblProductName", QStringLiteral("Orvik's Scourwell"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    product->setFont(big);

    auto* platform = NewLabel(frame, "lblPlatform", PlatformText());
    QFont medium = platform->font();
    medium.setPointSizeF(medium.pointSizeF() * 1.3);
    platform->setFont(medium);

    // The build's major.minor.patch.
    auto* version = NewLabel(frame, "lblVersion", QStringLiteral("Version " SCOURWELL_VERSION));
    auto* company = NewLabel(frame, "lblCompanyProduct", QStringLiteral("Orvik Software"));
    m_web = NewLabel(frame, "LblWeb", QString::fromLatin1(WebAddress));
    m_web->setCursor(Qt::PointingHandCursor);
    QPalette link = m_web->palette();
    link.setColor(QPalette::WindowText, link.color(QPalette::Link));
    m_web->setPalette(link);
    auto* press = NewLabel(frame, "Label1", QStringLiteral("Press any key to continue..."));

    auto* texts = new QVBoxLayout;
    texts->addStretch();
    texts->addWidget(product);
    texts->addWidget(platform);
    texts->addSpacing(8);
    texts->addWidget(version);
    texts->addStretch();
    texts->addWidget(company);
    texts->addWidget(m_web);
    if (m_role == SplashRole::AboutView) {
        auto* licence =
            NewLabel(frame, "lblLicence",
                     QStringLiteral("Licensed under the GNU General Public License, version 3 or later."));
        licence->setWordWrap(true);
        licence->installEventFilter(this);
        texts->addWidget(licence);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(logo);
    top->addSpacing(16);
    top->addLayout(texts, 1);

    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(20, 20, 20, 12);
    inner->addLayout(top);
    inner->addSpacing(12);
    inner->addWidget(press, 0, Qt::AlignRight);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->addWidget(frame);

    // Every part but the web address closes the splash when clicked.
    for (QWidget* w :
         {static_cast<QWidget*>(frame), static_cast<QWidget*>(logo), static_cast<QWidget*>(product),
          static_cast<QWidget*>(platform), static_cast<QWidget*>(version), static_cast<QWidget*>(company),
          static_cast<QWidget*>(press)})
        w->installEventFilter(this);
    m_web->installEventFilter(this);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(SplashInterval);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &frmSplash::FrmHide);
    // The About box has no timer running: it stays until a click or key.
    if (m_role == SplashRole::StartUp)
        m_timer->start();
}

void frmSplash::FrmHide()
{
    m_timer->stop();
    if (m_role == SplashRole::StartUp)
        Q_EMIT InitRequested();
    close();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_web)
            WebClick();
        else
            FrmHide();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmSplash::mouseReleaseEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    FrmHide();
}

// A key that types a character closes it; bare modifiers do not.
void frmSplash::keyPressEvent(QKeyEvent* event)
{
    if (event->text().isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    FrmHide();
}

// The web address opens; the splash stays.
void frmSplash::WebClick()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(WebAddress)));
}
