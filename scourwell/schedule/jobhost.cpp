// SPDX-License-Identifier: GPL-3.0-or-later
#include "schedule/jobhost.h"

#include "config/jobconfig.h"
#include "purge/purgeengine.h"
#include "purge/purgerun.h"
#include "purge/statusrelay.h"
#include "purge/stringhandling.h"
#include "purge/trashexpiry.h"
#include "shared/clock.h"
#include "shared/programfolder.h"

#include <QDir>
#include <QTimer>
#include <algorithm>

namespace {

// Each attempt reads the file again; a file changed on every attempt is not saved over.
constexpr int SaveAttempts = 3;

MissedRun Unattended(MissedRun choice)
{
    return choice == MissedRun::Wait ? MissedRun::MoveOn : choice;
}

// Within one tick a job is launched once, also when the tick's decisions are taken anew on a
// table read again.
class OncePerTick : public JobLauncher
{
public:
    explicit OncePerTick(JobLauncher& launcher) : m_launcher(launcher) {}
    void RunNowPurgeFiles(const LaunchValues& values) override
    {
        if (First(values))
            m_launcher.RunNowPurgeFiles(values);
    }
    void RunNowPurgeFileSubfolders(const LaunchValues& values) override
    {
        if (First(values))
            m_launcher.RunNowPurgeFileSubfolders(values);
    }
    void RunNowPurgeSubfolders(const LaunchValues& values) override
    {
        if (First(values))
            m_launcher.RunNowPurgeSubfolders(values);
    }

private:
    bool First(const LaunchValues& values)
    {
        if (std::find(m_launched.begin(), m_launched.end(), values) != m_launched.end())
            return false;
        m_launched.push_back(values);
        return true;
    }

    JobLauncher& m_launcher;
    std::vector<LaunchValues> m_launched;
};

QTimer* NewTimer(QObject* parent, const char* name, int interval)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(interval);
    return timer;
}

} // namespace

JobHost::JobHost(QString programFolder, QString executableFolder, const Clock& clock, JobHostSetup setup,
                 QObject* parent)
    : QObject(parent), m_programFolder(std::move(programFolder)),
      m_executableFolder(std::move(executableFolder)), m_clock(clock), m_mode(setup.mode),
      m_executors(m_programFolder, ProtectedPaths(m_programFolder, m_executableFolder), clock,
                  [this](PurgeRun& run) { Announce(run); }),
      m_launcher(setup.launcher ? *setup.launcher : m_executors),
      m_timerCheckJob(NewTimer(this, "TimerCheckJob", setup.checkJobInterval)),
      m_timerCheckStat(NewTimer(this, "TimerCheckStat", setup.checkStatInterval)),
      m_timerTrashExpiry(NewTimer(this, "TimerTrashExpiry", setup.trashExpiryInterval))
{
    m_expiryWorker.setMaxThreadCount(1);
    connect(m_timerCheckJob, &QTimer::timeout, this, &JobHost::TimerCheckJob_Timer);
    connect(m_timerCheckStat, &QTimer::timeout, this, &JobHost::TimerCheckStat_Timer);
    connect(m_timerTrashExpiry, &QTimer::timeout, this, &JobHost::EmptyTrash);
}

JobHost::~JobHost()
{
    m_expiryStop = true;
    m_expiryWorker.waitForDone();
}

void JobHost::Prepare()
{
    QDir().mkpath(LogsFolder(m_programFolder));
    ResetStatusDump(m_programFolder);
    CreateDefaultConfig(m_programFolder);
}

void JobHost::Load()
{
    LoadAt(m_clock.Now());
}

void JobHost::LoadAt(const QDateTime& now)
{
    // Taken before the read: a change made during it shows as a change at the next check.
    if (m_mode == JobHostMode::Unattended)
        m_fingerprint = ConfigFingerprint(m_programFolder);
    LoadOptions(m_table, m_programFolder);
    LoadJobList(m_table, m_programFolder, now);
    // Rows of runs under way keep showing running after a reload.
    if (m_mode == JobHostMode::Unattended)
        TimerCheckStatTick(m_table, m_programFolder);
}

void JobHost::Start()
{
    m_timerCheckJob->start();
    m_timerCheckStat->start();
    m_timerTrashExpiry->start();
    EmptyTrash();
}

void JobHost::Stop()
{
    m_timerCheckJob->stop();
    m_timerCheckStat->stop();
    m_timerTrashExpiry->stop();
    m_expiryStop = true;
    m_executors.StopAll();
}

void JobHost::WaitForRuns()
{
    m_executors.WaitAll();
    m_expiryWorker.waitForDone();
}

void JobHost::EmptyTrash()
{
    const int days = m_table.TrashDays();
    if (m_expiryUnderWay || days <= 0)
        return;
    m_expiryUnderWay = true;
    m_expiryStop = false;
    m_expiryWorker.start([this, folder = m_programFolder, now = m_clock.Now(), days] {
        const qint64 count = EmptyExpiredTrash(folder, now, days, m_expiryStop);
        // Posted to this host, which waits for the worker before it goes.
        QMetaObject::invokeMethod(
            this,
            [this, count] {
                m_expiryUnderWay = false;
                if (count > 0)
                    Q_EMIT TrashEmptied(count);
            },
            Qt::QueuedConnection);
    });
}

void JobHost::TimerCheckJob_Timer()
{
    if (m_mode == JobHostMode::Unattended)
        CheckJobsUnattended();
    else
        TimerCheckJobTick(m_table, m_clock.Now(), m_launcher, m_programFolder);
}

void JobHost::TimerCheckStat_Timer()
{
    TimerCheckStatTick(m_table, m_programFolder);
    if (m_mode == JobHostMode::Unattended)
        return;
    // Our own runs show as running also before their marker is written, or when the status
    // file lost it: a row that looked idle would offer Run Now on a folder still being purged.
    for (const QString& folder : m_executors.FoldersUnderWay())
        ShowRunning(folder);
}

void JobHost::Announce(PurgeRun& run)
{
    Q_EMIT RunLaunched(&run);
    connect(&run, &PurgeRun::Finished, this,
            [this, key = &run](qint64 count) { Q_EMIT RunFinished(key, count); });
    if (m_mode == JobHostMode::Windowed)
        ShowRunning(run.Values().folder);
}

void JobHost::ShowRunning(const QString& folder)
{
    for (int i = 0; i < m_table.Count(); ++i) {
        if (m_table.Row(i).FolderLoc == folder)
            m_table.ShowRunning(i);
    }
}

bool JobHost::FileChanged() const
{
    return ConfigFingerprint(m_programFolder) != m_fingerprint;
}

// A save that would overwrite a change made meanwhile reads the file again and takes the
// tick's decisions anew on it.
void JobHost::CheckJobsUnattended()
{
    const QDateTime now = m_clock.Now();
    if (FileChanged())
        LoadAt(now);
    OncePerTick launcher(m_launcher);
    for (int attempt = 1;; ++attempt) {
        const TickOutcome outcome =
            CheckJobs(m_table, now, launcher, m_programFolder, Unattended(m_table.MissedRunChoice()));
        if (outcome.saveNeeded && FileChanged()) {
            if (attempt == SaveAttempts)
                return;
            LoadAt(now);
            continue;
        }
        if (outcome.saveNeeded)
            SaveJobList(m_table, m_programFolder, &m_fingerprint);
        for (const MovedOnRun& moved : outcome.movedOn)
            Q_EMIT MovedOn(moved);
        return;
    }
}
