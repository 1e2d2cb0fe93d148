#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>

class DesktopStarter;
class FrmMain;
class JobLauncher;
class FrmSplash;
class ThreadInfo;

// The commands of the main window's menus, context menu and toolbar, connected to its
// actions by objectName. It also puts the images beside the File and View items.
class MainCommands : public QObject
{
    Q_OBJECT

public:
    MainCommands(FrmMain& main, const QString& executableFolder);

    // Tests put recording stand-ins here, so that nothing is really started.
    void SetDesktopStarter(DesktopStarter& starter) { m_desktop = &starter; }
    void SetLauncher(JobLauncher& launcher) { m_launcher = &launcher; }

    // One handler per command; the menu items and toolbar buttons call these.
    void AddNewJob();
    void EditSelectedJob();
    void SaveJobs();
    void Options();
    void LogExplorer();
    void ThreadInformation();
    void Help();
    void About();
    void EnableJob();
    void DisableJob();
    void RunNow();
    void AdjustDate();
    void BrowseLocation();
    void DeleteSelected();
    void EnableAllJobs();
    void DisableAllJobs();
    void Hide();
    // A toolbar click, by the button's key compared exactly; an unknown key does nothing.
    void ToolbarClick(const QString& key);

private:
    void ConnectMenus();
    void ConnectToolbar();
    void SetMenuBitmaps();
    bool Ask(const QString& text, const QString& title, QMessageBox::Icon icon);
    // The id of the selected row, or 0 when there is none.
    quint64 SelectedId() const;

    FrmMain& m_main;
    const QString m_executableFolder;
    DesktopStarter* m_desktop;
    JobLauncher* m_launcher;
    QPointer<ThreadInfo> m_threadInfo;
    QPointer<FrmSplash> m_about;
};
