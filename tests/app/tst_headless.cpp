#include "config/runtime.h"
#include "purge/logmod.h"
#include "purge/stringhandling.h"
#include "schedule/jobhost.h"
#include "shared/clsini.h"
#include "shared/programfolder.h"
#include "support/mockclock.h"
#include "support/purgetestfiles.h"
#include "support/recordinglauncher.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Job
{
    QString folder;
    QString style = "Routine";
    QString purgeStyle = "Files Only";
    QString every = "5";
    QString everyUnit = "Minute";
    QString valPurge = "1";
};

QByteArray JobText(int section, const Job& job, const QString& nextRun)
{
    return "[" + QByteArray::number(section) + "]\r\nFolderLoc=" + job.folder.toUtf8() +
           "\r\nStatus=Enabled\r\nValPurge=" + job.valPurge.toUtf8() +
           "\r\nValOfPurge=Day\r\nStyle=" + job.style.toUtf8() +
           "\r\nFileFolderStyle=" + job.purgeStyle.toUtf8() + "\r\nValEvery=" + job.every.toUtf8() +
           "\r\nValOfEvery=" + job.everyUnit.toUtf8() + "\r\nNextRun=" + nextRun.toUtf8() +
           "\r\nDescription=\r\n";
}

void WriteJobs(const QString& programFolder, const QByteArray& initial, const QList<QByteArray>& jobs,
               const QByteArray& deleteSpecific = "0")
{
    QFile file(ConfigDatPath(programFolder));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Initial]\r\nLookPurgeBy=Date: Last Modified\r\nDeleteSpecific=" + deleteSpecific + "\r\n" +
               initial + "TotalJob=" + QByteArray::number(jobs.size()) + "\r\n" + jobs.join());
}

QString Stored(const QString& programFolder, const QString& section, const QString& key)
{
    clsIni ini;
    ini.SetIniPath(ConfigDatPath(programFolder));
    return ini.GetIniSetting(section, key);
}

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

private:
    QTemporaryDir m_program;
    QString m_exe;

    // A copy, because the program folder is the folder of the executable.
    void InstallProgram()
    {
        m_exe = m_program.filePath("scourwell");
        if (!QFileInfo::exists(m_exe))
            QVERIFY(QFile::copy(SCOURWELL_EXECUTABLE, m_exe));
    }

    void WriteConfig(const QList<Job>& jobs, const QString& nextRun)
    {
        QList<QByteArray> texts;
        for (int i = 0; i < jobs.size(); ++i)
            texts << JobText(i + 1, jobs[i], nextRun);
        WriteJobs(m_program.path(), {}, texts, "1");
    }

    void Start(QProcess& process)
    {
        process.setProgram(m_exe);
        process.setArguments({"--headless"});
        process.start();
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY(QFileInfo::exists(m_program.filePath(".scourwell.lock")));
    }

    void Terminate(QProcess& process)
    {
        process.terminate();
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }

    static void SendSignal(QProcess& process, int signalNumber)
    {
        QCOMPARE(::kill(static_cast<pid_t>(process.processId()), signalNumber), 0);
    }

    // A job due in the present minute, on a folder with one old file; leaves the tick time to
    // see the minute.
    QString DueJob(QTemporaryDir& jobs)
    {
        while (QTime::currentTime().second() >= 45)
            QTest::qWait(500);
        const QDateTime now = QDateTime::currentDateTime();
        MakeFile(jobs.filePath("old"), now.addDays(-10));
        WriteConfig({{jobs.path()}}, FullForm(now));
        return FullForm(now);
    }

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

    void init()
    {
        InstallProgram();
        QFile::remove(m_program.filePath("ConfigDat.ini"));
        QDir(m_program.filePath("Logs")).removeRecursively();
    }

    void dueJobsRunOnceAndMoveOn()
    {
        // The jobs are due in the present minute; leave it time to be seen by a tick.
        while (QTime::currentTime().second() >= 52)
            QTest::qWait(500);
        const QDateTime now = QDateTime::currentDateTime();
        const QDateTime old = now.addDays(-10);
        QTemporaryDir jobs;
        const QString files = jobs.filePath("files");
        const QString subfolders = jobs.filePath("sub folders");
        const QString nested = jobs.filePath("nested");
        QVERIFY(QDir().mkpath(files) && QDir().mkpath(subfolders + "/old") &&
                QDir().mkpath(subfolders + "/new"));
        QVERIFY(QDir().mkpath(nested + "/s"));
        MakeFile(files + "/a1", old);
        MakeFile(files + "/a2", old);
        MakeFile(files + "/a3", now);
        MakeFile(subfolders + "/old/x", now);
        SetModified(subfolders + "/old", old);
        MakeFile(nested + "/top", old);
        MakeFile(nested + "/s/old", old);
        MakeFile(nested + "/s/new", now);

        const QString minute = FullForm(now);
        WriteConfig({{files},
                     {subfolders, "Specific", "Subfolders Only", "", ""},
                     {nested, "Routine", "Include Files in Subfolders", "1", "Day"}},
                    minute);

        QProcess process;
        Start(process);
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += process.readAllStandardOutput()).count("finished: ") == 3, 20000);
        QVERIFY2(output.contains(QByteArray("started: " + files.toUtf8() + " [Files Only]\n")),
                 output.constData());
        QVERIFY(output.contains(QByteArray("finished: " + files.toUtf8() + " [Files Only], 2 deleted\n")));
        QVERIFY(output.contains(
            QByteArray("finished: " + subfolders.toUtf8() + " [Subfolders Only], 1 deleted\n")));
        QVERIFY(output.contains(
            QByteArray("finished: " + nested.toUtf8() + " [Include Files in Subfolders], 1 deleted\n")));

        QCOMPARE(QDir(files).entryList(QDir::Files), QStringList{"a3"});
        QCOMPARE(QDir(subfolders).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"new"});
        QCOMPARE(QDir(nested).entryList(QDir::Files), QStringList{"top"});
        QCOMPARE(QDir(nested + "/s").entryList(QDir::Files), QStringList{"new"});

        const QStringList logs = QDir(m_program.filePath("Logs")).entryList({"*.htm"});
        QCOMPARE(logs.size(), 1);
        const QByteArray log = ReadAll(m_program.filePath("Logs/" + logs[0]));
        QVERIFY(log.startsWith("<title>Orvik's Scourwell - Log : "));
        QCOMPARE(log.count("<tr> \r\n"), 3);
        const QString by = "Date: Last Modified";
        QVERIFY(log.contains(LogRow(
            {files, "Enabled", "1 Day", "Routine", "Files Only", "5 Minute", minute, by, "2", "&nbsp"})));
        QVERIFY(log.contains(LogRow({subfolders, "Enabled", "1 Day", "Specific", "Subfolders Only",
                                     "&nbsp &nbsp", minute, by, "&nbsp", "1"})));
        QVERIFY(log.contains(LogRow({nested, "Enabled", "1 Day", "Routine", "Include Files in Subfolders",
                                     "1 Day", minute, by, "1", "&nbsp"})));

        // The Specific job is gone (DeleteSpecific=1); the Routine ones moved on and were saved.
        clsIni ini;
        ini.SetIniPath(m_program.filePath("ConfigDat.ini"));
        QTRY_COMPARE(ini.GetIniSetting("Initial", "TotalJob"), QString("2"));
        const QDateTime due = ParseFullForm(minute).value().ToLocalTime();
        QCOMPARE(ini.GetIniSetting("1", "FolderLoc"), files);
        QCOMPARE(ini.GetIniSetting("1", "NextRun"), FullForm(due.addSecs(5 * 60)));
        QCOMPARE(ini.GetIniSetting("2", "FolderLoc"), nested);
        QCOMPARE(ini.GetIniSetting("2", "NextRun"), FullForm(due.addDays(1)));

        QCOMPARE(ReadAll(m_program.filePath("statdump.tmp")), StatDumpFirstLine);
        Terminate(process);
        QCOMPARE(output + process.readAllStandardOutput(), output);
    }

    // Deleted before the first status tick: that tick shows the job as running and writes the
    // file anew, and a later check tick still launches the job.
    void deletedDumpDoesNotStopTheSchedule()
    {
        while (QTime::currentTime().second() >= 45)
            QTest::qWait(500);
        const QDateTime now = QDateTime::currentDateTime();
        QTemporaryDir jobs;
        MakeFile(jobs.filePath("a"), now.addDays(-10));
        WriteConfig({{jobs.path()}}, FullForm(now));

        const QString dump = m_program.filePath("statdump.tmp");
        QFile::remove(dump);
        QProcess process;
        Start(process);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dump), 1000);
        QVERIFY(QFile::remove(dump));
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += process.readAllStandardOutput()).contains("finished: "), 15000);
        QVERIFY2(
            output.contains(QByteArray("finished: " + jobs.path().toUtf8() + " [Files Only], 1 deleted\n")),
            output.constData());
        QCOMPARE(ReadAll(dump), StatDumpFirstLine);
        Terminate(process);
    }

    void startPreparesProgramFolder()
    {
        QFile dump(m_program.filePath("statdump.tmp"));
        QVERIFY(dump.open(QIODevice::WriteOnly | QIODevice::Truncate));
        dump.write("</stale>");
        dump.close();

        QProcess process;
        Start(process);
        QTRY_VERIFY(QFileInfo::exists(m_program.filePath("ConfigDat.ini")));
        QTRY_COMPARE(ReadAll(m_program.filePath("statdump.tmp")), StatDumpFirstLine);
        QVERIFY(QFileInfo(m_program.filePath("Logs")).isDir());
        QVERIFY(ReadAll(m_program.filePath("ConfigDat.ini")).contains("TotalJob=0\r\n"));
        Terminate(process);
    }

    // A SIGTERM while a big file loads ends the program like at any other time: exit 0.
    void terminateDuringLoad()
    {
        QByteArray text = "[Initial]\r\nTotalJob=20000\r\n";
        const QByteArray description(1000, 'd');
        for (int i = 1; i <= 20000; ++i)
            text += "[" + QByteArray::number(i) + "]\r\nFolderLoc=/nowhere/" + QByteArray::number(i) +
                    "\r\nStatus=Enabled\r\nDescription=" + description + "\r\n";
        for (int i = 0; i < 100000; ++i)
            text += "[notes]\r\n";
        QFile file(m_program.filePath("ConfigDat.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(text), text.size());
        file.close();

        QProcess process;
        Start(process);
        Terminate(process);
        QCOMPARE(process.readAllStandardError(), QByteArray());
    }

    // The service says which missed runs it moved on, and saves where they went.
    void missedRunIsMovedOnAndSaid()
    {
        QTemporaryDir jobs;
        const QString missed = FullForm(QDateTime::currentDateTime().addDays(-3));
        WriteConfig({{jobs.path()}}, missed);
        QProcess process;
        Start(process);
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += process.readAllStandardOutput()).contains("\n"), 10000);
        const QString next = Stored(m_program.path(), "1", "NextRun");
        QCOMPARE(QString::fromUtf8(output),
                 "moved on: " + jobs.path() + ", missed " + missed + ", next run " + next + "\n");
        QVERIFY(ParseFullForm(next).value().ToLocalTime() > QDateTime::currentDateTime());
        Terminate(process);
    }

    // SIGHUP reads the file again and goes on; it neither ends the program nor a run.
    void hangUpReloads()
    {
        QTemporaryDir jobs;
        WriteConfig({}, FullForm(QDateTime::currentDateTime()));
        QProcess process;
        Start(process);
        QTRY_COMPARE(ReadAll(m_program.filePath("statdump.tmp")), StatDumpFirstLine);
        SendSignal(process, SIGHUP);
        QByteArray output;
        QTRY_VERIFY((output += process.readAllStandardOutput()).contains("reloaded: "));
        DueJob(jobs);
        QTRY_VERIFY_WITH_TIMEOUT((output += process.readAllStandardOutput()).contains("finished: "), 15000);
        QCOMPARE(process.state(), QProcess::Running);
        QVERIFY(!QFileInfo::exists(jobs.filePath("old")));
        Terminate(process);
    }

    // Nobody reads the output any more: the runs go on, write their rows and move on.
    void closedOutputDoesNotEndTheProgram()
    {
        QTemporaryDir jobs;
        const QString due = DueJob(jobs);
        QProcess process;
        // Standard output is a pipe whose reader has gone, and SIGPIPE has its default action
        // (QProcess ignores it, and the child would inherit that).
        process.setChildProcessModifier([] {
            int ends[2];
            if (::pipe(ends) == 0) {
                ::close(ends[0]);
                ::dup2(ends[1], STDOUT_FILENO);
                ::close(ends[1]);
            }
            ::signal(SIGPIPE, SIG_DFL);
        });
        Start(process);
        QTRY_VERIFY_WITH_TIMEOUT(Stored(m_program.path(), "1", "NextRun") != due, 15000);
        QTRY_COMPARE(ReadAll(m_program.filePath("statdump.tmp")), StatDumpFirstLine);
        QVERIFY(!QFileInfo::exists(jobs.filePath("old")));
        const QStringList logs = QDir(m_program.filePath("Logs")).entryList({"*.htm"});
        QCOMPARE(logs.size(), 1);
        QTRY_VERIFY(ReadAll(m_program.filePath("Logs/" + logs[0])).contains(jobs.path().toUtf8()));
        QCOMPARE(process.state(), QProcess::Running);
        Terminate(process);
    }

    // A run that cannot stop (its row waits for a week log that is a pipe nobody reads, as a
    // folder on a hung mount would) does not keep a stop from ending the program: it is named
    // and the program ends with 1, after the bound or at a second signal.
    void stopEndsDespiteARunThatDoesNotStop_data()
    {
        QTest::addColumn<int>("signalCount");
        QTest::newRow("after the bound") << 1;
        QTest::newRow("second signal") << 2;
    }

    void stopEndsDespiteARunThatDoesNotStop()
    {
        QFETCH(int, signalCount);
        QTemporaryDir jobs;
        DueJob(jobs);
        const QString log = GetLogFileName(m_program.path(), QDateTime::currentDateTime());
        QVERIFY(::mkfifo(QFile::encodeName(log).constData(), 0600) == 0);
        const auto removeLog = qScopeGuard([&] { QFile::remove(log); });
        QProcess process;
        Start(process);
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += process.readAllStandardOutput()).contains("started: "), 15000);
        QTRY_VERIFY(!QFileInfo::exists(jobs.filePath("old")));
        for (int i = 0; i < signalCount; ++i)
            SendSignal(process, SIGTERM);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(process.readAllStandardError(),
                 QByteArray("not stopped: " + jobs.path().toUtf8() + " [Files Only]\n"));
    }

    void secondInstanceIsRefused()
    {
        QProcess first;
        Start(first);
        QTRY_COMPARE(ReadAll(m_program.filePath("statdump.tmp")), StatDumpFirstLine);
        QFile dump(m_program.filePath("statdump.tmp"));
        QVERIFY(dump.open(QIODevice::Append));
        dump.write("</running>");
        dump.close();

        QProcess second;
        second.start(m_exe, {"--headless"});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(second.readAllStandardError(), QByteArray("Another running instance is detected! \n"));
        QCOMPARE(ReadAll(m_program.filePath("statdump.tmp")), StatDumpFirstLine + "</running>");
        Terminate(first);
    }
};

QTEST_GUILESS_MAIN(TestHeadless)
#include "tst_headless.moc"
