// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

// The program's icon in the system tray, for the whole run. A double-click brings the main
// window back; a right-button click shows the balloon again. It shows no menu.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    // Adds the icon and shows the balloon once, where the desktop has a tray. bringBack is
    // what a double-click does: show the main window, where there is one yet (the icon comes
    // before the main window).
    TrayIcon(const QIcon& icon, std::function<void()> bringBack, QObject* parent = nullptr);

    QSystemTrayIcon& Icon() { return m_icon; }

    static QString BalloonTitle();
    static QString BalloonText();

private:
    void IconActivated(QSystemTrayIcon::ActivationReason reason);
    void ShowBalloon(int timeoutMs);

    QSystemTrayIcon m_icon;
    std::function<void()> m_bringBack;
};
