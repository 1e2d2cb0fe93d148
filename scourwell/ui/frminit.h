// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <memory>

class frmMain;
class JobHost;
class QTimer;

// How the program was started.
struct StartOptions
{
    // The command line after the program name, arguments joined by blanks.
    QString commandLine;
    // Without a system tray, hiding would leave no way back: windows are minimised instead.
    bool trayAvailable = true;
};

// "Scourwell Init": shows "Loading, Please Wait..." while the host prepares the Logs folder,
// statdump.tmp and ConfigDat.ini, then hides for the rest of the run and shows the main
// window. It stays as the owner of the tray icon until the program ends.
class frmInit : public QWidget
{
    Q_OBJECT

public:
    // The host outlives the window.
    frmInit(StartOptions options, JobHost& host, QWidget* parent = nullptr);
    ~frmInit() override;

    const StartOptions& Options() const { return m_options; }
    // nullptr until the init timer has shown it.
    frmMain* MainWindow() const { return m_main.get(); }
    QTimer* Timer1() const { return m_timer; }

Q_SIGNALS:
    // The main window was unloaded after a confirmed exit: the program ends.
    void ProgramEnded();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void AddTrayIcon();
    void Prepare();
    void Tick();

    const StartOptions m_options;
    JobHost& m_host;
    QTimer* m_timer = nullptr;
    std::unique_ptr<frmMain> m_main;
    // The tray icon was double-clicked: the main window is wanted on screen.
    bool m_bringBackAsked = false;
};
