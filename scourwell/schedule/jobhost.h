// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/jobtable.h"
#include "purge/scourwellthread.h"
#include "schedule/checktimer.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>

class Clock;
class PurgeRun;
class QTimer;

// Who manages the jobs while the host runs them.
enum class JobHostMode
{
    // The job list window: the table in memory is the jobs, and the user answers missed runs.
    Windowed,
    // Nobody at a window (--headless): ConfigDat.ini is the only way to manage the jobs.
    Unattended,
};

struct JobHostSetup
{
    JobHostMode mode = JobHostMode::Windowed;
    int checkJobInterval = 3000;
    int checkStatInterval = 2000;
    // How often what runs moved to the trash is emptied when old enough (also at Start).
    int trashExpiryInterval = 60 * 60 * 1000;
    // Launches the due jobs instead of the host's own executors, which then run nothing.
    JobLauncher* launcher = nullptr;
};

// Runs the jobs of one program folder: owns the job table, the executors and the two timers
// TimerCheckJob and TimerCheckStat, and announces each run. Both the windows and --headless
// create one; the windows are views of it. It also empties, off this thread, what runs moved
// to the trash once it is older than the table's TrashDays.
//
// Unattended, the file is read again whenever it changed since the table's own last load or
// save, a change that has not been read is never saved over, and a missed run that would wait
// for Adjust Date moves on instead.
class JobHost : public QObject
{
    Q_OBJECT

public:
    JobHost(QString programFolder, QString executableFolder, const Clock& clock, JobHostSetup setup = {},
            QObject* parent = nullptr);
    ~JobHost() override;

    JobTable& Table() { return m_table; }
    const QString& ProgramFolder() const { return m_programFolder; }
    const QString& ExecutableFolder() const { return m_executableFolder; }
    const Clock& GetClock() const { return m_clock; }
    JobLauncher& Launcher() { return m_launcher; }
    ScourwellThread& Executors() { return m_executors; }

    // The start-up preparations of the program folder: the Logs folder, an empty status file
    // and a default ConfigDat.ini when there is none.
    void Prepare();
    // Loads the options and the jobs (at start, and on SIGHUP unattended).
    void Load();
    void Start();
    // Stops both timers and asks every run to stop before its next item; each still writes
    // its row and removes its marker.
    void Stop();
    // Blocks until every run has ended; their announcements follow from the event loop.
    void WaitForRuns();

    // One tick of TimerCheckJob.
    void TimerCheckJob_Timer();
    // One tick of TimerCheckStat.
    void TimerCheckStat_Timer();
    // Empties the expired items of the trash on a worker thread, unless that is under way;
    // TrashEmptied tells how many went.
    void EmptyTrash();

Q_SIGNALS:
    // A run is about to begin: its window opens here, and the run begins once the receivers
    // (connected directly) have returned.
    void RunLaunched(PurgeRun* run);
    // The run has ended with count items deleted; it is deleted after this returns.
    void RunFinished(PurgeRun* run, qint64 count);
    // Unattended: a missed run moved on without running.
    void MovedOn(const MovedOnRun& moved);
    // An emptying of the trash has removed count (more than 0) items.
    void TrashEmptied(qint64 count);

private:
    void Announce(PurgeRun& run);
    // Rows on this folder show the running icon, their own icon saved as the status tick
    // saves it, so that the tick gives it back once the run is over.
    void ShowRunning(const QString& folder);
    void LoadAt(const QDateTime& now);
    bool FileChanged() const;
    void CheckJobsUnattended();

    const QString m_programFolder;
    const QString m_executableFolder;
    const Clock& m_clock;
    const JobHostMode m_mode;
    JobTable m_table;
    ScourwellThread m_executors;
    JobLauncher& m_launcher;
    QTimer* m_timerCheckJob = nullptr;
    QTimer* m_timerCheckStat = nullptr;
    QTimer* m_timerTrashExpiry = nullptr;
    QThreadPool m_expiryWorker;
    bool m_expiryUnderWay = false;
    std::atomic_bool m_expiryStop = false;
    // Unattended: the file as the table last loaded or saved it.
    QByteArray m_fingerprint;
};
