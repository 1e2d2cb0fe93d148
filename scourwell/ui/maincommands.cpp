// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/maincommands.h"

#include "config/jobconfig.h"
#include "config/jobtable.h"
#include "purge/logmod.h"
#include "purge/purgeengine.h"
#include "purge/scourwellthread.h"
#include "purge/threadid.h"
#include "schedule/checktimer.h"
#include "schedule/jobcommands.h"
#include "schedule/schedulemath.h"
#include "shared/atomicfile.h"
#include "shared/clock.h"
#include "shared/programfolder.h"
#include "ui/desktopstarter.h"
#include "ui/frmmain.h"
#include "ui/frmoption.h"
#include "ui/frmsplash.h"
#include "ui/jobeditorflow.h"
#include "ui/previewwindow.h"
#include "ui/runswindow.h"
#include "ui/threadinfo.h"
#include "ui/windowmodal.h"
#include "ui/windowplacement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Points the log explorer at our Logs folder; an existing file is the user's and stays.
void WriteQuillonIniIfMissing(const QString& programFolder)
{
    const QString path = QuillonIniPath(programFolder);
    if (QFileInfo::exists(path))
        return;
    const QString text = QStringLiteral("[init]\nlock=true\nfolder=") + LogsFolder(programFolder) +
                         QStringLiteral("\nfilter=.htm\nviewer=xdg-open\n");
    WriteFileAtomically(path, text.toUtf8());
}

bool IsProgram(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace

MainCommands::MainCommands(frmMain& main, const QString& executableFolder)
    : QObject(&main), m_main(main), m_executableFolder(executableFolder),
      m_desktop(&DesktopStarter::System()), m_launcher(&main.Launcher())
{
    setObjectName(QStringLiteral("MainCommands"));
    connect(&main, &frmMain::CommandTriggered, this, &MainCommands::Run);
    connect(&main, &frmMain::UndoRunAsked, this, &MainCommands::UndoRun);
}

void MainCommands::Run(MainCommand command)
{
    switch (command) {
    case MainCommand::AddNewJob:
        AddNewJob();
        break;
    case MainCommand::EditSelectedJob:
        EditSelectedJob();
        break;
    case MainCommand::SaveJobs:
        mnuSave_Click();
        break;
    case MainCommand::Options:
        OpenOptions();
        break;
    case MainCommand::Exit:
        m_main.Exit();
        break;
    case MainCommand::LogExplorer:
        StartLogExplorer();
        break;
    case MainCommand::ThreadInfo:
        ShowThreadInfo();
        break;
    case MainCommand::Help:
        OpenHelp();
        break;
    case MainCommand::About:
        ShowAbout();
        break;
    case MainCommand::EnableJob:
        EnableJob();
        break;
    case MainCommand::DisableJob:
        DisableJob();
        break;
    case MainCommand::RunNow:
        RunNow();
        break;
    case MainCommand::Preview:
        Preview();
        break;
    case MainCommand::AdjustDate:
        mnuAdjust_Click();
        break;
    case MainCommand::BrowseLocation:
        BrowseLocation();
        break;
    case MainCommand::DeleteSelected:
        DeleteSelected();
        break;
    case MainCommand::EnableAllJobs:
        EnableAllJobs();
        break;
    case MainCommand::DisableAllJobs:
        DisableAllJobs();
        break;
    case MainCommand::Runs:
        ShowRuns();
        break;
    case MainCommand::JobRuns:
        ShowJobRuns();
        break;
    case MainCommand::Hide:
        m_main.HideToTray();
        break;
    }
}

bool MainCommands::Ask(const QString& text, const QString& title, QMessageBox::Icon icon)
{
    return MessageWindowModal(&m_main, icon, title, text, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::Yes) == QMessageBox::Yes;
}

quint64 MainCommands::SelectedId() const
{
    const int index = m_main.SelectedRow();
    const JobTable& table = m_main.Table();
    return index >= 0 && index < table.Count() ? table.Row(index).id : 0;
}

QStringList MainCommands::ProgramFiles() const
{
    return ProtectedPaths(m_main.ProgramFolder(), m_main.Host().ExecutableFolder());
}

void MainCommands::AddNewJob()
{
    mnuAdd_Click(m_main.Table(), &m_main, m_main.GetClock(), ProgramFiles());
}

void MainCommands::EditSelectedJob()
{
    mnuEdit_Click(m_main.Table(), &m_main, m_main.GetClock(), ProgramFiles(), SelectedId());
}

void MainCommands::mnuSave_Click()
{
    SaveJobList(m_main.Table(), m_main.ProgramFolder());
}

void MainCommands::OpenOptions()
{
    frmOption dialog(m_main.Table(), m_main.ProgramFolder(), &m_main);
    ExecWindowModal(dialog);
}

void MainCommands::StartLogExplorer()
{
    const QString programFolder = m_main.ProgramFolder();
    WriteQuillonIniIfMissing(programFolder);
    // Beside our files, or beside our executable where the program folder is elsewhere;
    // never the working directory, which could hold anything.
    for (const QString& folder : {programFolder, m_executableFolder}) {
        const QString program = folder + QLatin1Char('/') + QLatin1String(QuillonProgram);
        if (IsProgram(program)) {
            m_desktop->StartDetached(program, {}, folder);
            return;
        }
    }
}

void MainCommands::ShowThreadInfo()
{
    if (!m_threadInfo) {
        m_threadInfo = new ThreadInfo(static_cast<qint64>(CurrentThreadNumber()),
                                      QCoreApplication::applicationPid(), &m_main);
        PlaceOver(*m_threadInfo, m_main);
    }
    m_threadInfo->show();
    m_threadInfo->raise();
    m_threadInfo->activateWindow();
}

void MainCommands::OpenHelp()
{
    // Beside the program in a build or portable copy; in share/doc/scourwell when installed.
    QStringList pages;
    for (const char* folder : {"/", "/../share/doc/scourwell/"})
        pages.append(QDir::cleanPath(m_executableFolder + QLatin1String(folder) + QLatin1String(HelpPage)));
    for (const QString& candidate : pages) {
        const QString page = QFileInfo(candidate).canonicalFilePath();
        if (page.isEmpty())
            continue;
        // Without a browser nothing would show at all: say where the page is, to open it by hand.
        if (!m_desktop->OpenLocalPath(page))
            MessageWindowModal(&m_main, QMessageBox::Information, QStringLiteral("Help"),
                               QStringLiteral("No browser could open the help page. It is at:\n") + page,
                               QMessageBox::Ok);
        return;
    }
    MessageWindowModal(&m_main, QMessageBox::Warning, QStringLiteral("Help"),
                       QStringLiteral("The help page is missing. It belongs at:\n") +
                           pages.join(QStringLiteral("\nor\n")),
                       QMessageBox::Ok);
}

void MainCommands::ShowAbout()
{
    if (!m_about) {
        m_about = new frmSplash(SplashRole::AboutView, &m_main);
        PlaceOver(*m_about, m_main);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void MainCommands::EnableJob()
{
    ::EnableJob(m_main.Table(), m_main.SelectedRow());
}

void MainCommands::DisableJob()
{
    ::DisableJob(m_main.Table(), m_main.SelectedRow());
}

bool MainCommands::Refused(const QString& refusal)
{
    if (refusal.isEmpty())
        return false;
    MessageWindowModal(&m_main, QMessageBox::Critical, QStringLiteral("Error"),
                       refusal + QStringLiteral("  "), QMessageBox::Ok);
    return true;
}

void MainCommands::RunNow()
{
    RunJob(SelectedId());
}

void MainCommands::RunJob(quint64 id)
{
    const QString programFolder = m_main.ProgramFolder();
    const QDateTime now = m_main.GetClock().Now();
    if (!LogFileExists(programFolder, now))
        WriteLogHeader(programFolder, now);

    JobTable& table = m_main.Table();
    if (id == 0 || table.IndexOf(id) < 0)
        return;
    if (table.Row(table.IndexOf(id)).icon == RowIcon::Disabled &&
        !Ask(QStringLiteral("Selected job is currently being disabled.\r\nDo you want to run it anyway?"),
             QStringLiteral("Task Warning?"), QMessageBox::Information))
        return;
    // The check timer ticks while the question is open and may have moved or removed the row.
    const int index = table.IndexOf(id);
    if (index < 0)
        return;
    const QString folder = table.Row(index).FolderLoc;
    QString refusal = WhyNotLaunched(table, index);
    if (refusal.isEmpty() && m_main.Executors().IsUnderWay(folder))
        refusal =
            QStringLiteral("A run in [") + folder +
            QStringLiteral("] is still under way. Wait for its end, or stop it in its executor window.");
    if (Refused(refusal))
        return;
    CollectCheckManually(table, index, m_main.GetClock().Now(), *m_launcher);
    m_main.activateWindow();
}

void MainCommands::Preview()
{
    const JobTable& table = m_main.Table();
    const quint64 id = SelectedId();
    if (id == 0)
        return;
    const int index = table.IndexOf(id);
    if (Refused(WhyNotLaunched(table, index)))
        return;
    // Built as a run builds it from the row's launch values, so the list is what a run would delete.
    const JobRow& row = table.Row(index);
    std::optional<PurgeRequest> request =
        PurgeRequestOf(row.FileFolderStyle.Value().value(), row.FolderLoc, row.ValPurge,
                       row.ValOfPurge.Text(), table.LookPurgeBy().Text());
    if (!request)
        return;
    request->protectedPaths = ProgramFiles();
    auto* window = new PreviewWindow(std::move(*request), m_main.GetClock(), &m_main);
    connect(window, &PreviewWindow::RunNowRequested, this, [this, id] { RunJob(id); });
    PlaceOver(*window, m_main);
    window->show();
}

void MainCommands::mnuAdjust_Click()
{
    const int index = m_main.SelectedRow();
    if (index >= 0 && index < m_main.Table().Count())
        ::AdjustDate(m_main.Table(), index, m_main.GetClock().Now());
}

void MainCommands::BrowseLocation()
{
    const quint64 id = SelectedId();
    if (id != 0)
        m_desktop->OpenLocalPath(m_main.Table().Row(m_main.Table().IndexOf(id)).FolderLoc);
}

void MainCommands::DeleteSelected()
{
    JobTable& table = m_main.Table();
    const quint64 id = SelectedId();
    if (id == 0)
        return;
    const QString folder = table.Row(table.IndexOf(id)).FolderLoc;
    if (!Ask(QStringLiteral("Do you want to delete  [") + folder + QStringLiteral("]?"),
             QStringLiteral("Delete Selected Job?"), QMessageBox::Question))
        return;
    // Removed by identity: a row the check timer dropped meanwhile must not take another with it.
    DeleteJob(table, table.IndexOf(id));
    m_main.FocusReset();
}

void MainCommands::EnableAllJobs()
{
    if (m_main.Table().IsEmpty() || !Ask(QStringLiteral("Do you want to enable all jobs?"),
                                         QStringLiteral("Enable Tasks"), QMessageBox::Question))
        return;
    Enable_All_List(m_main.Table(), m_main.GetClock().Now());
}

void MainCommands::DisableAllJobs()
{
    if (m_main.Table().IsEmpty() || !Ask(QStringLiteral("Do you want to disable all jobs?"),
                                         QStringLiteral("Disable Tasks"), QMessageBox::Question))
        return;
    Disable_All_List(m_main.Table(), m_main.GetClock().Now());
}

RunsWindow& MainCommands::OpenRuns(const QString& folder)
{
    if (!m_runs) {
        m_runs = new RunsWindow(m_main.ProgramFolder(), &m_main);
        PlaceOver(*m_runs, m_main);
    }
    m_runs->ShowRunsOf(folder);
    m_runs->show();
    m_runs->raise();
    m_runs->activateWindow();
    return *m_runs;
}

void MainCommands::ShowRuns()
{
    OpenRuns({});
}

void MainCommands::ShowJobRuns()
{
    const quint64 id = SelectedId();
    if (id != 0)
        OpenRuns(m_main.Table().Row(m_main.Table().IndexOf(id)).FolderLoc);
}

void MainCommands::UndoRun(const QString& recordFile)
{
    m_main.ShowFromTray();
    OpenRuns({}).UndoRunOf(recordFile);
}
