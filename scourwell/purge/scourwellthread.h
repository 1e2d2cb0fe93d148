// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "purge/launchvalues.h"
#include "purge/purgeengine.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class Clock;
class PurgeRun;

// Starts executor runs, each on a thread of its own, and keeps them until they have ended.
// Lives on the thread that launches (the user-interface thread in the GUI).
class ScourwellThread : public JobLauncher
{
public:
    // Called with each new run before it begins: the GUI opens and labels its executor window
    // there (and may connect to the run's signals); the run begins when the hook returns. A run
    // is deleted once its Finished signal has been delivered: keep no pointer to it past that.
    using ExecutorHook = std::function<void(PurgeRun&)>;

    ScourwellThread(QString programFolder, QStringList protectedPaths, const Clock& clock,
                    ExecutorHook hook = {});
    // Stops the runs still going and waits for their end-of-run steps.
    ~ScourwellThread() override;

    ScourwellThread(const ScourwellThread&) = delete;
    ScourwellThread& operator=(const ScourwellThread&) = delete;

    // Each returns false, and runs nothing, when a run on the same folder is still under way
    // here or no thread can be had.
    bool NewFormThread_Files(const LaunchValues& values);
    bool NewFormThread_FileSubfolders(const LaunchValues& values);
    bool NewFormThread_Subfolders(const LaunchValues& values);

    void RunNowPurgeFiles(const LaunchValues& values) override;
    void RunNowPurgeFileSubfolders(const LaunchValues& values) override;
    void RunNowPurgeSubfolders(const LaunchValues& values) override;

    // Runs that have not yet ended.
    int RunningCount() const;
    // Whether a run on this folder (the paths compared without "." parts or doubled and
    // trailing slashes) is under way: from its launch until its window has heard of its end.
    bool IsUnderWay(const QString& folder) const;
    // The folders of the runs under way, as their launch values name them.
    QStringList FoldersUnderWay() const;
    // Every run stops before its next item; each still writes its row and removes its marker.
    void StopAll();
    // Blocks until every run has ended; their Finished signals follow from the event loop.
    void WaitAll();

private:
    bool Launch(PurgeStyle style, const LaunchValues& values);
    void Forget(PurgeRun* run);

    const QString m_programFolder;
    const QStringList m_protectedPaths;
    const Clock& m_clock;
    const ExecutorHook m_hook;
    // Receives the runs' Finished signals queued, after every other receiver has heard them.
    QObject m_context;
    std::vector<std::unique_ptr<PurgeRun>> m_runs;
};
