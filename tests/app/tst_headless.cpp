// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/headless.h"
#include "app/headlessprogram.h"
#include "schedule/jobhost.h"
#include "support/mockclock.h"
#include "support/recordinglauncher.h"

// The unattended job host of --headless, ticked in this process.
namespace {

const QString Due = QStringLiteral("12/07/2026 09:05 AM");
const QString Later = QStringLiteral("12/07/2026 10:00 AM");
const QString Moved = QStringLiteral("12/07/2026 09:10 AM");
const QDateTime Now = ParseFullForm(Due).value().ToLocalTime().addSecs(12);

// The unattended host in this process on the jobs written to a program folder of its own,
// loaded at Now; the status file holds the folder of a run under way, if any.
struct InProcess
{
    InProcess(const QByteArray& initial, const QList<QByteArray>& jobs, const QString& running = {})
    {
        WriteJobs(program.path(), initial, jobs);
        QVERIFY(ResetStatusDump(program.path()));
        if (!running.isEmpty())
            QVERIFY(AddTextToFile(StatDumpPath(program.path()), running));
        QObject::connect(&service, &JobHost::MovedOn, &service,
                         [this](const MovedOnRun& run) { moved.push_back(run); });
        service.Load();
    }

    // One check tick; the missed runs it moved on without a run.
    std::vector<MovedOnRun> CheckJobTick()
    {
        moved.clear();
        service.TimerCheckJob_Timer();
        return moved;
    }

    QTemporaryDir program;
    RecordingLauncher launcher;
    MockClock clock{Now};
    JobHost service{program.path(),
                    QCoreApplication::applicationDirPath(),
                    clock,
                    {.mode = JobHostMode::Unattended, .launcher = &launcher}};
    std::vector<MovedOnRun> moved;
};

} // namespace

class TestHeadless : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A job added by hand is run and kept by the next save; a job changed by hand keeps the
    // change. Neither edit is known to the table until the tick reads the file again.
    void handEditsSurviveTheNextSave()
    {
        QTemporaryDir jobs;
        const QString a = jobs.filePath("a");
        const QString b = jobs.filePath("b");
        QVERIFY(QDir().mkpath(a) && QDir().mkpath(b));
        InProcess p({}, {JobText(1, {a}, Later)});

        WriteJobs(p.program.path(), {},
                  {JobText(1, {.folder = a, .valPurge = "99"}, Later), JobText(2, {b}, Due)});
        QVERIFY(p.CheckJobTick().empty());

        QCOMPARE(p.launcher.folders, QStringList{b});
        QCOMPARE(Stored(p.program.path(), "Initial", "TotalJob"), "2");
        QCOMPARE(Stored(p.program.path(), "1", "ValPurge"), "99");
        QCOMPARE(Stored(p.program.path(), "2", "FolderLoc"), b);
        QCOMPARE(Stored(p.program.path(), "2", "NextRun"), Moved);
    }

    // The file changes while the tick launches (after its check, before its save): the tick
    // reads it again and takes its decisions anew, without a second launch.
    void changeDuringTheTickIsNotOverwritten()
    {
        QTemporaryDir jobs;
        const QString a = jobs.filePath("a");
        const QString c = jobs.filePath("c");
        QVERIFY(QDir().mkpath(a) && QDir().mkpath(c));
        InProcess p({}, {JobText(1, {a}, Due)});
        p.launcher.onLaunch = [&] {
            WriteJobs(p.program.path(), {}, {JobText(1, {a}, Due), JobText(2, {c}, Later)});
        };

        p.CheckJobTick();

        QCOMPARE(p.launcher.folders, QStringList{a});
        QCOMPARE(Stored(p.program.path(), "Initial", "TotalJob"), "2");
        QCOMPARE(Stored(p.program.path(), "1", "NextRun"), Moved);
        QCOMPARE(Stored(p.program.path(), "2", "FolderLoc"), c);
        QCOMPARE(p.service.Table().Count(), 2);
    }

    // A run under way shows running after a reload, and is not launched again.
    void runningRowStaysRunningAfterReload()
    {
        QTemporaryDir jobs;
        InProcess p({}, {JobText(1, {jobs.path()}, Due)}, jobs.path());
        QCOMPARE(p.service.Table().Row(0).icon, RowIcon::Running);
        WriteJobs(p.program.path(), "; touched\r\n", {JobText(1, {jobs.path()}, Due)});
        p.CheckJobTick();
        QCOMPARE(p.service.Table().Row(0).icon, RowIcon::Running);
        QVERIFY(p.launcher.folders.isEmpty());
    }

    // Nobody presses Adjust Date for a service: a run missed while it was down moves on (and is
    // said to), unless the file asks to run it once first.
    void missedRunsAreNotLeftWaiting_data()
    {
        QTest::addColumn<QByteArray>("initial");
        QTest::addColumn<bool>("launched");
        QTest::newRow("wait") << QByteArray() << false;
        QTest::newRow("move on") << QByteArray("MissedRun=MoveOn\r\n") << false;
        QTest::newRow("run once") << QByteArray("MissedRun=RunOnce\r\n") << true;
    }

    void missedRunsAreNotLeftWaiting()
    {
        QFETCH(QByteArray, initial);
        QFETCH(bool, launched);
        QTemporaryDir jobs;
        const QString missed = QStringLiteral("12/04/2026 09:00 AM");
        InProcess p(initial, {JobText(1, {jobs.path()}, missed)});
        const std::vector<MovedOnRun> moved = p.CheckJobTick();
        QCOMPARE(p.launcher.folders.size(), launched ? 1 : 0);
        QCOMPARE(moved.size(), launched ? 0u : 1u);
        if (!launched)
            QCOMPARE(moved.front().missed, missed);
        QCOMPARE(Stored(p.program.path(), "1", "NextRun"), Moved);
        QCOMPARE(p.service.Table().Row(0).icon, RowIcon::Enabled);
    }

    // What the service says after each load: how many jobs from which file, then when the next
    // enabled one runs, or how to add one. Each expected line is the start of the line said.
    void loadedJobsAreSaid_data()
    {
        QTest::addColumn<QStringList>("nextRuns");
        QTest::addColumn<QStringList>("statuses");
        QTest::addColumn<QStringList>("said");
        const QString soon = QStringLiteral("12/07/2026 09:30 AM");
        QTest::newRow("no job") << QStringList() << QStringList()
                                << QStringList{"no job is defined: add one as a section of FILE ("};
        QTest::newRow("earliest enabled")
            << QStringList{Later, soon, Moved} << QStringList{"Enabled", "Enabled", "Disabled"}
            << QStringList{"next run: " + soon + ", JOBS/2"};
        QTest::newRow("none enabled") << QStringList{Later} << QStringList{"Disabled"}
                                      << QStringList{"next run: none, no job is enabled"};
        QTest::newRow("one missed") << QStringList{"12/04/2026 09:00 AM", Later}
                                    << QStringList{"Enabled", "Enabled"}
                                    << QStringList{"next run: " + Later + ", JOBS/2",
                                                   "missed: 1 enabled job(s) whose next run has passed"};
    }

    void loadedJobsAreSaid()
    {
        QFETCH(QStringList, nextRuns);
        QFETCH(QStringList, statuses);
        QFETCH(QStringList, said);
        QTemporaryDir jobs;
        QList<QByteArray> texts;
        for (int i = 0; i < nextRuns.size(); ++i) {
            const QString folder = jobs.filePath(QString::number(i + 1));
            QVERIFY(QDir().mkpath(folder));
            texts << JobText(i + 1, {folder}, nextRuns[i])
                         .replace("Status=Enabled", QByteArray("Status=" + statuses[i].toUtf8()));
        }
        InProcess p({}, texts);
        const QString file = ConfigDatPath(p.program.path());
        const QStringList lines = LoadedJobsText(p.service.Table(), p.program.path());
        QCOMPARE(lines.size(), said.size() + 1);
        QCOMPARE(lines[0], QStringLiteral("jobs: %1 loaded from %2").arg(nextRuns.size()).arg(file));
        for (int i = 0; i < said.size(); ++i) {
            const QString start = QString(said[i]).replace("FILE", file).replace("JOBS", jobs.path());
            QVERIFY2(lines[i + 1].startsWith(start), qPrintable(lines[i + 1]));
        }
    }
};

QTEST_GUILESS_MAIN(TestHeadless)
#include "tst_headless.moc"
