// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/runtime.h"
#include "purge/logmod.h"
#include "purge/purgerun.h"
#include "purge/stringhandling.h"
#include "purge/trash.h"
#include "schedule/jobhost.h"
#include "shared/programfolder.h"
#include "support/gateclock.h"
#include "support/jobsfile.h"
#include "support/mockclock.h"
#include "support/purgetestfiles.h"
#include "support/recordinglauncher.h"
#include "support/trashedrecord.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QDateTime Now(QDate(2026, 12, 7), QTime(9, 5, 12));
const QString Due = QStringLiteral("12/07/2026 09:05 AM");
const QString Missed = QStringLiteral("12/04/2026 09:00 AM");

// What the host announced, in order.
struct Announcements
{
    explicit Announcements(JobHost& host)
    {
        QObject::connect(&host, &JobHost::RunLaunched, &host,
                         [this](PurgeRun* run) { launched << run->Values().folder; });
        QObject::connect(&host, &JobHost::RunFinished, &host, [this](PurgeRun* run, qint64 count) {
            finished << run->Values().folder + u':' + QString::number(count);
        });
        QObject::connect(&host, &JobHost::MovedOn, &host,
                         [this](const MovedOnRun& run) { movedOn << run.folder; });
    }

    QStringList launched;
    QStringList finished;
    QStringList movedOn;
};

} // namespace

class TstJobHost : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;

    QString ProgramFolder() const { return m_dir->filePath(QStringLiteral("program")); }
    // A folder with two files 40 days old and one new one.
    QString JobFolder() const
    {
        const QString folder = m_dir->filePath(QStringLiteral("jobs"));
        QDir().mkpath(folder);
        MakeFile(folder + QStringLiteral("/a.old"), Now.addDays(-40));
        MakeFile(folder + QStringLiteral("/b.old"), Now.addDays(-40));
        MakeFile(folder + QStringLiteral("/c.new"), Now);
        return folder;
    }
    // The program folder as a start leaves it, with these jobs.
    void WriteJobs(const std::vector<StoredJob>& jobs) const
    {
        WriteJobsFile(ProgramFolder(), jobs);
        QVERIFY(ResetStatusDump(ProgramFolder()));
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QDir().mkpath(ProgramFolder());
    }

    // The start-up preparations: the Logs folder, an empty status file and a default job file.
    void prepareMakesTheProgramFolderReady()
    {
        QFile dump(StatDumpPath(ProgramFolder()));
        QVERIFY(dump.open(QIODevice::WriteOnly));
        dump.write("<left over>\r\n");
        dump.close();
        MockClock clock(Now);
        JobHost host(ProgramFolder(), QCoreApplication::applicationDirPath(), clock);
        host.Prepare();
        QVERIFY(QFileInfo(LogsFolder(ProgramFolder())).isDir());
        QCOMPARE(ReadAll(StatDumpPath(ProgramFolder())), StatDumpFirstLine);
        QVERIFY(ReadAll(ConfigDatPath(ProgramFolder())).contains("TotalJob=0\r\n"));
    }

    // A tick runs the due job on the host's executors, announced as launched and as finished
    // with its count. At a window its row shows running meanwhile and a missed run waits for
    // Adjust Date; unattended a missed run moves on, and says so.
    void tickRunsDueJobsByMode_data()
    {
        QTest::addColumn<JobHostMode>("mode");
        QTest::addColumn<RowIcon>("iconWhileRunning");
        QTest::addColumn<RowIcon>("missedIcon");
        QTest::newRow("windowed") << JobHostMode::Windowed << RowIcon::Running << RowIcon::EnabledPassed;
        QTest::newRow("unattended") << JobHostMode::Unattended << RowIcon::Enabled << RowIcon::Enabled;
    }
    void tickRunsDueJobsByMode()
    {
        QFETCH(JobHostMode, mode);
        QFETCH(RowIcon, iconWhileRunning);
        QFETCH(RowIcon, missedIcon);
        const QString folder = JobFolder();
        const QString missed = m_dir->filePath(QStringLiteral("missed"));
        QVERIFY(QDir().mkpath(missed));
        WriteJobs({{folder, Due}, {missed, Missed}});
        GateClock clock(Now);
        JobHost host(ProgramFolder(), QCoreApplication::applicationDirPath(), clock, {.mode = mode});
        Announcements said(host);
        host.Load();

        host.TimerCheckJob_Timer();
        QCOMPARE(said.launched, QStringList{folder});
        QCOMPARE(host.Table().Row(0).NextRun, QStringLiteral("12/07/2026 10:05 AM"));
        QCOMPARE(host.Table().Row(0).icon, iconWhileRunning);
        QCOMPARE(host.Table().Row(1).icon, missedIcon);
        QCOMPARE(said.movedOn, mode == JobHostMode::Unattended ? QStringList{missed} : QStringList());

        clock.Open();
        QTRY_COMPARE(said.finished, QStringList{folder + QStringLiteral(":2")});
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("c.new")});
        QVERIFY(ReadAll(GetLogFileName(ProgramFolder(), Now)).contains(folder.toUtf8()));
        QTRY_COMPARE((host.TimerCheckStat_Timer(), host.Table().Row(0).icon), RowIcon::Enabled);
    }

    // Stop ends both timers and asks the runs to stop; each still writes its row, and the
    // finish is announced once the runs have been waited for.
    void stopAndWaitForRuns()
    {
        const QString folder = JobFolder();
        WriteJobs({{folder, Due}});
        GateClock clock(Now);
        JobHost host(ProgramFolder(), QCoreApplication::applicationDirPath(), clock);
        Announcements said(host);
        host.Load();
        host.Start();
        host.TimerCheckJob_Timer();
        QCOMPARE(said.launched, QStringList{folder});

        host.Stop();
        for (const char* name : {"TimerCheckJob", "TimerCheckStat"})
            QVERIFY(!host.findChild<QTimer*>(QLatin1String(name))->isActive());
        clock.Open();
        host.WaitForRuns();
        QCOMPARE(host.Executors().RunningCount(), 0);
        QVERIFY(ReadAll(GetLogFileName(ProgramFolder(), Now)).contains(folder.toUtf8()));
        QVERIFY(!ReadAll(StatDumpPath(ProgramFolder())).contains(RunningMarker(folder)));
        QTRY_COMPARE(said.finished.size(), qsizetype(1));
    }

    // The timers keep their names and the intervals they are given, and tick on their own.
    void timersTickAtTheirIntervals()
    {
        const QString folder = m_dir->filePath(QStringLiteral("due"));
        QVERIFY(QDir().mkpath(folder));
        WriteJobs({{folder, Due}});
        MockClock clock(Now);
        RecordingLauncher launcher;
        JobHost host(ProgramFolder(), QCoreApplication::applicationDirPath(), clock,
                     {.checkJobInterval = 5, .checkStatInterval = 7, .launcher = &launcher});
        QCOMPARE(host.findChild<QTimer*>(QStringLiteral("TimerCheckJob"))->interval(), 5);
        QCOMPARE(host.findChild<QTimer*>(QStringLiteral("TimerCheckStat"))->interval(), 7);
        host.Load();
        QVERIFY(QFile::remove(StatDumpPath(ProgramFolder())));

        host.Start();
        QTRY_COMPARE(launcher.folders, QStringList{folder});
        QTRY_COMPARE(ReadAll(StatDumpPath(ProgramFolder())), StatDumpFirstLine);
    }

    // At start the host empties from the trash, on its worker, what runs moved there longer
    // ago than the table's days, and tells how many went.
    void startEmptiesTheTrash_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("age");
        QTest::addColumn<int>("emptied");
        QTest::newRow("older than the days") << 30 << 40 << 1;
        QTest::newRow("younger") << 30 << 20 << 0;
        QTest::newRow("never") << 0 << 80 << 0;
    }
    void startEmptiesTheTrash()
    {
        QFETCH(int, days);
        QFETCH(int, age);
        QFETCH(int, emptied);
        const QString data = m_dir->filePath(QStringLiteral("data"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        const QString trash = data + QStringLiteral("/Trash");
        QVERIFY(QDir().mkpath(trash + QStringLiteral("/files")));
        QVERIFY(QDir().mkpath(trash + QStringLiteral("/info")));
        const QByteArray original = QFile::encodeName(m_dir->filePath(QStringLiteral("jobs/a.old")));
        const QString entry = trash + QStringLiteral("/files/a.old");
        MakeFile(entry, Now.addDays(-age));
        QFile info(trash + QStringLiteral("/info/a.old.trashinfo"));
        QVERIFY(info.open(QIODevice::WriteOnly));
        info.write(TrashInfoText(original, Now.addDays(-age)));
        info.close();
        WriteJobs({});
        RecordTrashRun(ProgramFolder(), QFile::encodeName(m_dir->filePath(QStringLiteral("jobs"))),
                       Now.addDays(-age).addSecs(-60), {{original, QFile::encodeName(entry)}});

        MockClock clock(Now);
        RecordingLauncher launcher;
        JobHost host(ProgramFolder(), QCoreApplication::applicationDirPath(), clock, {.launcher = &launcher});
        QSignalSpy told(&host, &JobHost::TrashEmptied);
        host.Load();
        host.Table().SetTrashDays(days);
        host.Start();
        QCOMPARE(host.findChild<QTimer*>(QStringLiteral("TimerTrashExpiry"))->interval(), 60 * 60 * 1000);
        host.WaitForRuns();
        if (emptied > 0)
            QTRY_COMPARE(told.size(), qsizetype(1));
        QCoreApplication::processEvents();
        QCOMPARE(told.size(), qsizetype(emptied > 0 ? 1 : 0));
        if (emptied > 0)
            QCOMPARE(told.front().front().toLongLong(), qint64(emptied));
        QCOMPARE(QFileInfo::exists(entry), emptied == 0);
        QCOMPARE(info.exists(), emptied == 0);
    }
};

QTEST_GUILESS_MAIN(TstJobHost)
#include "tst_jobhost.moc"
