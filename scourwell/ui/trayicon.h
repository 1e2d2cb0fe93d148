#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

class QWidget;

// The program's icon in the system tray, for the whole run. A double-click brings the main
// window back; a right-button click shows the balloon again. It shows no menu.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    // Adds the icon and shows the balloon once, where the desktop has a tray. mainWindow
    // gives the window a double-click brings back, or nullptr while there is none yet (the
    // icon comes before the main window).
    TrayIcon(const QIcon& icon, std::function<QWidget*()> mainWindow, QObject* parent = nullptr);

    QSystemTrayIcon& Icon() { return m_icon; }

    static QString BalloonTitle();
    static QString BalloonText();

private:
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    void ShowBalloon(int timeoutMs);

    QSystemTrayIcon m_icon;
    std::function<QWidget*()> m_mainWindow;
};
