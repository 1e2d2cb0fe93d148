#include "purge/headless.h"

#include "config/jobconfig.h"
#include "config/jobtable.h"
#include "config/programfolder.h"
#include "purge/instancelock.h"
#include "purge/purgerun.h"
#include "purge/scourwellthread.h"
#include "purge/statusrelay.h"
#include "purge/stringhandling.h"
#include "purge/terminationsignals.h"
#include "schedule/checktimer.h"
#include "schedule/clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

namespace {

constexpr int CheckJobInterval = 3000;
constexpr int CheckStatInterval = 2000;

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
    return run.Values()[0] + QLatin1String(" [") + run.Values()[5] + u']';
}

} // namespace

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
    // held until the event loop runs, and then ends the program like at any other time.
    TerminationSignals termination;
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
    JobTable table;
    LoadOptions(table, programFolder);
    LoadJobList(table, programFolder, clock.Now());

    int launched = 0;
    int finished = 0;
    bool stopping = false;
    const auto quitWhenDone = [&] {
        if (stopping && finished == launched)
            app.quit();
    };
    ScourwellThread threads(
        programFolder, ProtectedPaths(programFolder, executableFolder), clock, [&](PurgeRun& run) {
            ++launched;
            out << "started: " << RunText(run) << Qt::endl;
            QObject::connect(&run, &PurgeRun::Finished, &app, [&, text = RunText(run)](qint64 n) {
                ++finished;
                out << "finished: " << text << ", " << n << " deleted" << Qt::endl;
                quitWhenDone();
            });
        });

    QTimer checkJob;
    checkJob.setInterval(CheckJobInterval);
    QObject::connect(&checkJob, &QTimer::timeout, &app,
                     [&] { TimerCheckJobTick(table, clock.Now(), threads, programFolder); });
    QTimer checkStat;
    checkStat.setInterval(CheckStatInterval);
    QObject::connect(&checkStat, &QTimer::timeout, &app, [&] { TimerCheckStatTick(table, programFolder); });

    QObject::connect(&termination, &TerminationSignals::Received, &app, [&] {
        checkJob.stop();
        checkStat.stop();
        stopping = true;
        threads.StopAll();
        quitWhenDone();
    });

    checkJob.start();
    checkStat.start();
    return app.exec();
}
