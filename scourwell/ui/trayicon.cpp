// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/trayicon.h"

#include <QTimer>

namespace {

constexpr int FirstBalloonMs = 10000;
constexpr int RepeatBalloonMs = 3000;
// The desktop embeds a new icon asynchronously, and a balloon asked for before that is lost.
constexpr int EmbedDelayMs = 500;

} // namespace

TrayIcon::TrayIcon(const QIcon& icon, std::function<void()> bringBack, QObject* parent)
    : QObject(parent), m_icon(icon), m_bringBack(std::move(bringBack))
{
    m_icon.setObjectName(QStringLiteral("TrayIcon"));
    m_icon.setToolTip(QStringLiteral("Orvik's Scourwell"));
    connect(&m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::IconActivated);
    m_icon.show();
    QTimer::singleShot(EmbedDelayMs, this, [this] { ShowBalloon(FirstBalloonMs); });
}

QString TrayIcon::BalloonTitle()
{
    return QStringLiteral("Orvik's Scourwell Ver. " SCOURWELL_VERSION);
}

QString TrayIcon::BalloonText()
{
    return QStringLiteral("Clears old files from your folders on schedule. Double-click to open.");
}

void TrayIcon::IconActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        m_bringBack();
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
