#include "ui/trayicon.h"

#include <QWidget>

namespace {

constexpr int FirstBalloonMs = 10000;
constexpr int RepeatBalloonMs = 3000;

} // namespace

TrayIcon::TrayIcon(const QIcon& icon, std::function<QWidget*()> mainWindow, QObject* parent)
    : QObject(parent), m_icon(icon), m_mainWindow(std::move(mainWindow))
{
    m_icon.setObjectName(QStringLiteral("TrayIcon"));
    m_icon.setToolTip(QStringLiteral("Orvik's Scourwell"));
    connect(&m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::OnActivated);
    m_icon.show();
    ShowBalloon(FirstBalloonMs);
}

QString TrayIcon::BalloonTitle()
{
    return QStringLiteral("Orvik's Scourwell Ver. " SCOURWELL_VERSION);
}

QString TrayIcon::BalloonText()
{
    return QStringLiteral("Orvik's Scourwell clears old files from your folders on schedule. "
                          "Double-click this icon to open it.");
}

void TrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        if (QWidget* window = m_mainWindow()) {
            window->showNormal();
            window->raise();
            window->activateWindow();
        }
        break;
    case QSystemTrayIcon::Context:
        ShowBalloon(RepeatBalloonMs);
        break;
    default:
        break;
    }
}

void TrayIcon::ShowBalloon(int timeoutMs)
{
    if (m_icon.isVisible())
        m_icon.showMessage(BalloonTitle(), BalloonText(), QSystemTrayIcon::NoIcon, timeoutMs);
}
