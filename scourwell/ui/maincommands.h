// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/commandtable.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>

class DesktopStarter;
class frmMain;
class JobLauncher;
class frmSplash;
class RunsWindow;
class ThreadInfo;

// What the commands of the main window's menus, context menu and toolbar do.
class MainCommands : public QObject
{
    Q_OBJECT

public:
    MainCommands(frmMain& main, const QString& executableFolder);

    // Tests put recording stand-ins here, so that nothing is really started.
    void SetDesktopStarter(DesktopStarter& starter) { m_desktop = &starter; }
    void SetLauncher(JobLauncher& launcher) { m_launcher = &launcher; }

    // The menu items and toolbar buttons run their commands here.
    void Run(MainCommand command);

    // The handlers, each named for what it does.
    void AddNewJob();
    void EditSelectedJob();
    void mnuSave_Click();
    void OpenOptions();
    void StartLogExplorer();
    void ShowThreadInfo();
    void OpenHelp();
    void ShowAbout();
    void EnableJob();
    void DisableJob();
    void RunNow();
    // Opens a preview of what running the selected job would delete.
    void Preview();
    void mnuAdjust_Click();
    void BrowseLocation();
    void DeleteSelected();
    void EnableAllJobs();
    void DisableAllJobs();
    // The recorded runs of every job, or of the selected one.
    void ShowRuns();
    void ShowJobRuns();
    // From a run's notification: the runs window on that run, asking to undo it.
    void UndoRun(const QString& recordFile);

private:
    bool Ask(const QString& text, const QString& title, QMessageBox::Icon icon);
    // The id of the selected row, or 0 when there is none.
    quint64 SelectedId() const;
    // What no purge may delete, the preview included.
    QStringList ProgramFiles() const;
    // Run Now for the row with this id, if it is still there.
    void RunJob(quint64 id);
    // Shows why a row may not run, if there is a reason; true when there was one.
    bool Refused(const QString& refusal);
    // The one runs window, listing the runs of folder (of every folder when empty), in front.
    RunsWindow& OpenRuns(const QString& folder);

    frmMain& m_main;
    const QString m_executableFolder;
    DesktopStarter* m_desktop;
    JobLauncher* m_launcher;
    QPointer<ThreadInfo> m_threadInfo;
    QPointer<frmSplash> m_about;
    QPointer<RunsWindow> m_runs;
};
