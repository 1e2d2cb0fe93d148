// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/headless.h"

#include "app/terminationsignals.h"
#include "config/jobconfig.h"
#include "config/runtime.h"
#include "purge/purgerun.h"
#include "schedule/jobhost.h"
#include "shared/clock.h"
#include "shared/instancelock.h"
#include "shared/programfolder.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>
#include <cstdlib>
#include <map>

namespace {

// How long a stop waits for the runs: one on a mount that no longer answers never ends.
constexpr int StopWaitInterval = 10000;

QString RunText(const PurgeRun& run)
{
    return run.Values().folder + QLatin1String(" [") + run.Values().purgeStyle + u']';
}

} // namespace

QStringList LoadedJobsText(const JobTable& table, const QString& programFolder)
{
    const QString file = ConfigDatPath(programFolder);
    QStringList lines{QStringLiteral("jobs: %1 loaded from %2").arg(table.Count()).arg(file)};
    if (table.IsEmpty()) {
        lines << QStringLiteral("no job is defined: add one as a section of ") + file +
                     QStringLiteral(" (read again at the next check, or at once on SIGHUP), or stop this "
                                    "service and add one in the windows (scourwell, File > New Job)");
        return lines;
    }
    const JobRow* next = nullptr;
    std::optional<WallClockTime> nextTime;
    int passed = 0;
    for (const JobRow& row : table.Rows()) {
        passed += row.icon == RowIcon::EnabledPassed;
        const std::optional<WallClockTime> time = ParseFullForm(row.NextRun);
        if (row.icon == RowIcon::Enabled && time && (!nextTime || *time < *nextTime)) {
            next = &row;
            nextTime = time;
        }
    }
    lines << (next ? QStringLiteral("next run: ") + next->NextRun + QStringLiteral(", ") + next->FolderLoc
                   : QStringLiteral("next run: none, no job is enabled"));
    if (passed)
        lines << QStringLiteral(
                     "missed: %1 enabled job(s) whose next run has passed, seen to at the next check")
                     .arg(passed);
    return lines;
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

    // The runs not yet finished, by what is printed of them.
    std::map<const PurgeRun*, QString> running;
    bool stopping = false;
    const auto quitWhenDone = [&] {
        if (stopping && running.empty())
            app.quit();
    };
    JobHost host(programFolder, executableFolder, Clock::System(), {.mode = JobHostMode::Unattended});
    host.Prepare();
    QObject::connect(&host, &JobHost::RunLaunched, &app, [&](PurgeRun* run) {
        const QString text = RunText(*run);
        running[run] = text;
        out << "started: " << text << Qt::endl;
    });
    QObject::connect(&host, &JobHost::RunFinished, &app, [&](PurgeRun* run, qint64 count) {
        out << "finished: " << running[run] << ", " << count
            << (run->Values().moveToTrash ? " moved to the trash" : " deleted");
        if (const std::optional<qint64> bytes = run->Bytes())
            out << ", " << *bytes << " bytes";
        out << Qt::endl;
        running.erase(run);
        quitWhenDone();
    });
    QObject::connect(&host, &JobHost::MovedOn, &app, [&](const MovedOnRun& moved) {
        out << "moved on: " << moved.folder << ", missed " << moved.missed << ", next run " << moved.nextRun
            << Qt::endl;
    });
    QObject::connect(&host, &JobHost::TrashEmptied, &app, [&](qint64 count) {
        out << "emptied from the trash: " << count << ", moved there by runs more than "
            << host.Table().TrashDays() << " days ago" << Qt::endl;
    });
    // Every load says what it found: the one at start, on SIGHUP and when the file changed.
    bool started = false;
    QObject::connect(&host.Table(), &JobTable::ResetDone, &app, [&] {
        if (started)
            out << "reloaded: " << ConfigDatPath(programFolder) << Qt::endl;
        started = true;
        for (const QString& line : LoadedJobsText(host.Table(), programFolder))
            out << line << Qt::endl;
    });
    out << "program folder: " << programFolder << Qt::endl;
    host.Load();

    QObject::connect(&processSignals, &TerminationSignals::HangUp, &app, [&] {
        if (!stopping)
            host.Load();
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
        stopping = true;
        host.Stop();
        stopWait.start();
        quitWhenDone();
    });

    host.Start();
    return app.exec();
}
