#include "app/headless.h"

#include "app/terminationsignals.h"
#include "config/jobconfig.h"
#include "config/jobtable.h"
#include "purge/purgerun.h"
#include "purge/scourwellthread.h"
#include "purge/statusrelay.h"
#include "purge/stringhandling.h"
#include "schedule/checktimer.h"
#include "shared/clock.h"
#include "shared/instancelock.h"
#include "shared/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <map>

namespace {

constexpr int CheckJobInterval = 3000;
constexpr int CheckStatInterval = 2000;
// How long a stop waits for the runs: one on a mount that no longer answers never ends.
constexpr int StopWaitInterval = 10000;
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

// The same preparations as the init window's: Logs, an empty status dump, a default config.
void PrepareProgramFolder(const QString& programFolder)
{
    const QString logs = LogsFolder(programFolder);
    if (!QFileInfo::exists(logs))
        QDir().mkpath(logs);
    ResetStatusDump(programFolder);
    CreateDefaultConfig(programFolder);
}

QString RunText(const PurgeRun& run)
{
    return run.Values().folder + QLatin1String(" [") + run.Values().purgeStyle + u']';
}

} // namespace

HeadlessJobs::HeadlessJobs(QString programFolder, JobLauncher& launcher)
    : m_programFolder(std::move(programFolder)), m_launcher(launcher)
{
}

void HeadlessJobs::Load(const QDateTime& now)
{
    // Taken before the read: a change made during it shows as a change at the next check.
    m_fingerprint = ConfigFingerprint(m_programFolder);
    LoadOptions(m_table, m_programFolder);
    LoadJobList(m_table, m_programFolder, now);
    TimerCheckStatTick(m_table, m_programFolder);
}

bool HeadlessJobs::FileChanged() const
{
    return ConfigFingerprint(m_programFolder) != m_fingerprint;
}

std::vector<MovedOnRun> HeadlessJobs::CheckJobTick(const QDateTime& now)
{
    if (FileChanged())
        Load(now);
    OncePerTick launcher(m_launcher);
    for (int attempt = 1;; ++attempt) {
        TickOutcome outcome =
            CheckJobs(m_table, now, launcher, m_programFolder, Unattended(m_table.MissedRunChoice()));
        if (!outcome.saveNeeded)
            return std::move(outcome.movedOn);
        if (!FileChanged()) {
            SaveJobList(m_table, m_programFolder, &m_fingerprint);
            return std::move(outcome.movedOn);
        }
        if (attempt == SaveAttempts)
            return {};
        Load(now);
    }
}

void HeadlessJobs::CheckStatTick()
{
    TimerCheckStatTick(m_table, m_programFolder);
}

int HeadlessMain(int& argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (app.arguments().size() != 2) {
        err << "usage: scourwell --headless" << Qt::endl;
        return 2;
    }

    // Before the lock and the load, which may take a while on a big file: a signal meanwhile is
    // held until the event loop runs, and then acts like at any other time.
    TerminationSignals processSignals;
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString programFolder = ResolveProgramFolder(executableFolder);
    QLockFile::LockError lockError = QLockFile::NoError;
    const std::unique_ptr<QLockFile> instance = LockSingleInstance(programFolder, &lockError);
    if (!instance) {
        if (lockError == QLockFile::LockFailedError)
            err << "Another running instance is detected! " << Qt::endl;
        else
            err << "scourwell: cannot write to the program folder " << programFolder << Qt::endl;
        return 1;
    }

    PrepareProgramFolder(programFolder);
    const Clock& clock = Clock::System();

    // The runs not yet finished, by what is printed of them.
    std::map<const PurgeRun*, QString> running;
    bool stopping = false;
    const auto quitWhenDone = [&] {
        if (stopping && running.empty())
            app.quit();
    };
    ScourwellThread threads(
        programFolder, ProtectedPaths(programFolder, executableFolder), clock, [&](PurgeRun& run) {
            const QString text = RunText(run);
            running[&run] = text;
            out << "started: " << text << Qt::endl;
            QObject::connect(&run, &PurgeRun::Finished, &app, [&, text, key = &run](qint64 n) {
                running.erase(key);
                out << "finished: " << text << ", " << n << " deleted" << Qt::endl;
                quitWhenDone();
            });
        });
    HeadlessJobs jobs(programFolder, threads);
    jobs.Load(clock.Now());

    QTimer checkJob;
    checkJob.setInterval(CheckJobInterval);
    QObject::connect(&checkJob, &QTimer::timeout, &app, [&] {
        for (const MovedOnRun& moved : jobs.CheckJobTick(clock.Now()))
            out << "moved on: " << moved.folder << ", missed " << moved.missed << ", next run "
                << moved.nextRun << Qt::endl;
    });
    QTimer checkStat;
    checkStat.setInterval(CheckStatInterval);
    QObject::connect(&checkStat, &QTimer::timeout, &app, [&] { jobs.CheckStatTick(); });

    QObject::connect(&processSignals, &TerminationSignals::HangUp, &app, [&] {
        if (stopping)
            return;
        jobs.Load(clock.Now());
        out << "reloaded: " << ConfigDatPath(programFolder) << Qt::endl;
    });

    // A run that does not stop (a folder on a mount that no longer answers) must not keep the
    // program from ending: after the bound, or at a second signal, it is named and left behind.
    // Its thread cannot be joined, so the program ends without unwinding.
    QTimer stopWait;
    stopWait.setSingleShot(true);
    stopWait.setInterval(StopWaitInterval);
    const auto abandon = [&] {
        for (const auto& [run, text] : running)
            err << "not stopped: " << text << Qt::endl;
        out.flush();
        std::_Exit(1);
    };
    QObject::connect(&stopWait, &QTimer::timeout, &app, abandon);
    QObject::connect(&processSignals, &TerminationSignals::Received, &app, [&] {
        if (stopping) {
            abandon();
            return;
        }
        checkJob.stop();
        checkStat.stop();
        stopping = true;
        threads.StopAll();
        stopWait.start();
        quitWhenDone();
    });

    checkJob.start();
    checkStat.start();
    return app.exec();
}
