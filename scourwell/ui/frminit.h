#pragma once

#include <QWidget>
#include <memory>

class Clock;
class FrmMain;
class QTimer;

// What one start of the program is given: where its files live and how it was started.
struct StartOptions
{
    QString programFolder;
    QString executableFolder;
    // The command line after the program name, arguments joined by blanks.
    QString commandLine;
    // Without a system tray, hiding would leave no way back: windows are minimised instead.
    bool trayAvailable = true;
};

// "Scourwell Init": shows "Loading, Please Wait..." while it prepares the Logs folder,
// statdump.tmp and ConfigDat.ini, then hides for the rest of the run and shows the main
// window. It stays as the owner of the tray icon until the program ends.
class FrmInit : public QWidget
{
    Q_OBJECT

public:
    FrmInit(StartOptions options, const Clock& clock, QWidget* parent = nullptr);
    ~FrmInit() override;

    const StartOptions& Options() const { return m_options; }
    // nullptr until the init timer has shown it.
    FrmMain* MainWindow() const { return m_main.get(); }
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
    const Clock& m_clock;
    QTimer* m_timer = nullptr;
    std::unique_ptr<FrmMain> m_main;
};
