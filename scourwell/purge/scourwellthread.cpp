// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/scourwellthread.h"

#include "purge/purgerun.h"

#include <QDir>
#include <algorithm>
#include <system_error>

ScourwellThread::ScourwellThread(QString programFolder, QStringList protectedPaths, const Clock& clock,
                                 ExecutorHook hook)
    : m_programFolder(std::move(programFolder)), m_protectedPaths(std::move(protectedPaths)), m_clock(clock),
      m_hook(std::move(hook))
{
}

ScourwellThread::~ScourwellThread()
{
    StopAll();
    WaitAll();
}

bool ScourwellThread::NewFormThread_Files(const LaunchValues& values)
{
    return Launch(PurgeStyle::FilesOnly, values);
}

bool ScourwellThread::NewFormThread_FileSubfolders(const LaunchValues& values)
{
    return Launch(PurgeStyle::IncludeFilesInSubfolders, values);
}

bool ScourwellThread::NewFormThread_Subfolders(const LaunchValues& values)
{
    return Launch(PurgeStyle::SubfoldersOnly, values);
}

void ScourwellThread::RunNowPurgeFiles(const LaunchValues& values)
{
    NewFormThread_Files(values);
}

void ScourwellThread::RunNowPurgeFileSubfolders(const LaunchValues& values)
{
    NewFormThread_FileSubfolders(values);
}

void ScourwellThread::RunNowPurgeSubfolders(const LaunchValues& values)
{
    NewFormThread_Subfolders(values);
}

int ScourwellThread::RunningCount() const
{
    return static_cast<int>(
        std::count_if(m_runs.begin(), m_runs.end(), [](const auto& run) { return !run->IsFinished(); }));
}

bool ScourwellThread::IsUnderWay(const QString& folder) const
{
    const QString wanted = QDir::cleanPath(folder);
    return std::any_of(m_runs.begin(), m_runs.end(), [&wanted](const auto& run) {
        return QDir::cleanPath(run->Values().folder) == wanted;
    });
}

QStringList ScourwellThread::FoldersUnderWay() const
{
    QStringList folders;
    for (const auto& run : m_runs)
        folders.append(run->Values().folder);
    return folders;
}

void ScourwellThread::StopAll()
{
    for (const auto& run : m_runs)
        run->RequestStop();
}

void ScourwellThread::WaitAll()
{
    for (const auto& run : m_runs)
        run->Wait();
}

bool ScourwellThread::Launch(PurgeStyle style, const LaunchValues& values)
{
    // Two runs in one folder would delete behind each other's back and share one running
    // marker, so that the first to end showed the job idle while the other still deleted.
    if (IsUnderWay(values.folder))
        return false;
    std::unique_ptr<PurgeRun> owned;
    try {
        owned = std::make_unique<PurgeRun>(style, values, m_programFolder, m_protectedPaths, m_clock);
    } catch (const std::system_error&) {
        // No thread to be had (the process is at its limit): this launch runs nothing, as a
        // launcher without an executor did; the program goes on.
        return false;
    }
    PurgeRun* run = owned.get();
    // Queued, so that every other receiver of Finished (the window) has heard it first.
    QObject::connect(
        run, &PurgeRun::Finished, &m_context, [this, run] { Forget(run); }, Qt::QueuedConnection);
    m_runs.push_back(std::move(owned));
    if (m_hook)
        m_hook(*run);
    run->Begin();
    return true;
}

void ScourwellThread::Forget(PurgeRun* run)
{
    const auto it =
        std::find_if(m_runs.begin(), m_runs.end(), [run](const auto& r) { return r.get() == run; });
    if (it == m_runs.end())
        return;
    (*it)->Wait();
    m_runs.erase(it);
}
