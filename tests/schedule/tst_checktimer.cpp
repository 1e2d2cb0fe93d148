// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobconfig.h"
#include "config/jobtable.h"
#include "config/runtime.h"
#include "purge/logmod.h"
#include "purge/statusrelay.h"
#include "purge/stringhandling.h"
#include "schedule/checktimer.h"
#include "shared/clsini.h"
#include "shared/programfolder.h"
#include "shared/sortlistview.h"
#include "support/jobrows.h"
#include "support/recordinglauncher.h"
#include "support/zone.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(MissedRun)

namespace {

// Shows the launched folder's rows running at once, as the main window does when it opens the
// executor window.
class ShowingLauncher : public RecordingLauncher
{
public:
    explicit ShowingLauncher(JobTable& table) : m_table(table) {}
    void RunNowPurgeFiles(const LaunchValues& values) override
    {
        RecordingLauncher::RunNowPurgeFiles(values);
        for (int i = 0; i < m_table.Count(); ++i) {
            if (m_table.Row(i).FolderLoc == values.folder)
                m_table.ShowRunning(i);
        }
    }

private:
    JobTable& m_table;
};

const QString Due = QStringLiteral("12/07/2026 09:05 AM");
const QDateTime Now = ParseFullForm(Due).value().ToLocalTime().addSecs(12);

} // namespace

Q_DECLARE_METATYPE(std::optional<RowIcon>)

class TestCheckTimer : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
    JobTable m_table;
    RecordingLauncher m_launcher;

    QString Stored(const QString& section, const QString& key) const
    {
        clsIni ini;
        ini.SetIniPath(ConfigDatPath(m_folder));
        return ini.GetIniSetting(section, key);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_folder = m_dir->path();
        QVERIFY(QDir(m_folder).mkdir("Logs"));
        QVERIFY(CreateDefaultConfig(m_folder));
        m_table.Reset({});
        m_table.SetOptions("Date: Last Modified", "0");
        m_launcher.Clear();
    }

    void oneRow_data()
    {
        QTest::addColumn<RowIcon>("icon");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("fileFolderStyle");
        QTest::addColumn<QString>("valEvery");
        QTest::addColumn<QString>("valOfEvery");
        QTest::addColumn<QString>("nextRun");
        QTest::addColumn<QString>("deleteSpecific");
        QTest::addColumn<QString>("launched");
        QTest::addColumn<std::optional<RowIcon>>("iconAfter"); // none: the row is gone
        QTest::addColumn<QString>("nextRunAfter");
        QTest::addColumn<bool>("saved");

        struct Case
        {
            const char* name;
            RowIcon icon;
            const char *style, *fileFolderStyle, *valEvery, *valOfEvery, *nextRun, *deleteSpecific, *launched;
            std::optional<RowIcon> iconAfter;
            const char* nextRunAfter;
            bool saved;
        };
        const RowIcon on = RowIcon::Enabled;
        const RowIcon off = RowIcon::Disabled;
        const RowIcon passed = RowIcon::EnabledPassed;
        const char* due = "12/07/2026 09:05 AM";
        // clang-format off
        const Case cases[] = {
            {"routine every 5 minutes", on, "Routine", "Files Only", "5", "Minute", due, "0", "Files", on, "12/07/2026 09:10 AM", true},
            {"routine daily keeps the time of day", on, "Routine", "Include Files in Subfolders", "1", "Day", due, "0", "FileSubfolders", on, "12/08/2026 09:05 AM", true},
            {"words in any case", on, "ROUTINE", "subfolders ONLY", "2", "hour", due, "0", "Subfolders", on, "12/07/2026 11:05 AM", true},
            {"specific kept as passed", on, "Specific", "Files Only", " ", " ", due, "0", "Files", passed, due, true},
            {"specific removed", on, "Specific", "Files Only", "", "", due, "1", "Files", std::nullopt, "", true},
            {"other DeleteSpecific keeps the row", on, "specific", "Files Only", "", "", due, "yes", "Files", passed, due, true},
            {"disabled routine moves on unlaunched", off, "Routine", "Files Only", "5", "Minute", due, "0", "", off, "12/07/2026 09:10 AM", true},
            {"disabled specific untouched", off, "Specific", "Files Only", "", "", due, "1", "", off, due, false},
            {"passed", passed, "Routine", "Files Only", "5", "Minute", due, "0", "", passed, due, false},
            {"disabled and passed", RowIcon::DisabledPassed, "Routine", "Files Only", "5", "Minute", due, "0", "", RowIcon::DisabledPassed, due, false},
            {"folder missing", RowIcon::FolderMissing, "Specific", "Files Only", "", "", due, "1", "", RowIcon::FolderMissing, due, false},
            {"running", RowIcon::Running, "Routine", "Files Only", "5", "Minute", due, "0", "", RowIcon::Running, due, false},
            {"not due", on, "Routine", "Files Only", "5", "Minute", "12/07/2026 09:06 AM", "0", "", on, "12/07/2026 09:06 AM", false},
            {"hour without leading zero", on, "Routine", "Files Only", "5", "Minute", "12/07/2026 9:05 AM", "0", "", on, "12/07/2026 9:05 AM", false},
            {"next run no date", on, "Routine", "Files Only", "5", "Minute", "whenever", "0", "", on, "whenever", false},
            // Rows of a hand-edited file that could not be moved on: launching them would
            // repeat the run on every tick of the minute, so they are kept as they are.
            {"count not a number", on, "Routine", "Files Only", "five", "Minute", due, "0", "", on, due, false},
            {"count zero", on, "Routine", "Files Only", "0", "Minute", due, "0", "", on, due, false},
            {"unknown unit", on, "Routine", "Files Only", "1", "Week", due, "0", "", on, due, false},
            {"disabled with unknown unit", off, "Routine", "Files Only", "1", "Week", due, "0", "", off, due, false},
            {"unknown purge style", on, "Specific", "Everything", "", "", due, "1", "", on, due, false},
            {"unknown schedule kind", on, "Weekly", "Files Only", "1", "Day", due, "0", "", on, due, false},
        };
        // clang-format on
        for (const Case& c : cases)
            QTest::newRow(c.name) << c.icon << QString(c.style) << QString(c.fileFolderStyle)
                                  << QString(c.valEvery) << QString(c.valOfEvery) << QString(c.nextRun)
                                  << QString(c.deleteSpecific) << QString(c.launched) << c.iconAfter
                                  << QString(c.nextRunAfter) << c.saved;
    }

    void oneRow()
    {
        QFETCH(RowIcon, icon);
        QFETCH(QString, style);
        QFETCH(QString, fileFolderStyle);
        QFETCH(QString, valEvery);
        QFETCH(QString, valOfEvery);
        QFETCH(QString, nextRun);
        QFETCH(QString, deleteSpecific);
        QFETCH(QString, launched);
        QFETCH(std::optional<RowIcon>, iconAfter);
        QFETCH(QString, nextRunAfter);
        QFETCH(bool, saved);

        m_table.SetOptions("Date: Last Modified", deleteSpecific);
        m_table.Append(MakeJob("/data/a", icon, style, valEvery, valOfEvery, nextRun, fileFolderStyle));

        QCOMPARE(TimerCheckJobTick(m_table, Now, m_launcher, m_folder), saved);

        QCOMPARE(m_launcher.launches.size(), launched.isEmpty() ? 0u : 1u);
        if (!launched.isEmpty())
            QCOMPARE(m_launcher.launches.front().method, launched);
        QCOMPARE(LogFileExists(m_folder, Now), !launched.isEmpty());
        QCOMPARE(m_table.Count(), iconAfter ? 1 : 0);
        if (iconAfter) {
            QCOMPARE(m_table.Row(0).icon, *iconAfter);
            QCOMPARE(m_table.Row(0).NextRun, nextRunAfter);
        }
        QCOMPARE(Stored("Initial", "TotalJob"), QString::number(saved ? m_table.Count() : 0));
        if (saved && iconAfter)
            QCOMPARE(Stored("1", "NextRun"), nextRunAfter);
    }

    void launchValuesInTableOrder()
    {
        m_table.SetOptions("Date: Created", "0");
        m_table.Append(MakeJob("/data/specific", RowIcon::Enabled, "Specific", " ", " ", Due));
        m_table.Append(
            MakeJob("/data/later", RowIcon::Enabled, "Routine", "5", "Minute", "12/07/2026 09:10 AM"));
        // Its runs move to the trash, and so says its launch.
        JobRow routine = MakeJob("/data/routine", RowIcon::Enabled, "Routine", "5", "Minute", Due);
        routine.MoveToTrash = true;
        m_table.Append(routine);

        QVERIFY(TimerCheckJobTick(m_table, Now, m_launcher, m_folder));

        QCOMPARE(m_launcher.launches.size(), 2u);
        QCOMPARE(m_launcher.launches[0].values,
                 (LaunchValues{"/data/specific", "Enabled", "30", "Day", "Specific", "Files Only", "&nbsp",
                               "&nbsp", "12/07/2026 09:05 AM", "Date: Created"}));
        QCOMPARE(m_launcher.launches[1].values,
                 (LaunchValues{"/data/routine", "Enabled", "30", "Day", "Routine", "Files Only", "5",
                               "Minute", "12/07/2026 09:05 AM", "Date: Created", true}));
    }

    void removalContinuesWithTheRowThatTookItsPlace()
    {
        m_table.SetOptions("Date: Last Modified", "1");
        m_table.Append(MakeJob("/data/a", RowIcon::Enabled, "Specific", "", "", Due));
        m_table.Append(MakeJob("/data/b", RowIcon::Enabled, "Specific", "", "", Due));
        m_table.Append(MakeJob("/data/c", RowIcon::Enabled, "Routine", "5", "Minute", Due));
        m_table.Append(MakeJob("/data/d", RowIcon::Enabled, "Specific", "", "", "12/07/2026 09:06 AM"));
        m_table.Append(MakeJob("/data/e", RowIcon::Enabled, "Specific", "", "", Due));

        QVERIFY(TimerCheckJobTick(m_table, Now, m_launcher, m_folder));

        QCOMPARE(m_launcher.folders, QStringList({"/data/a", "/data/b", "/data/c", "/data/e"}));
        QCOMPARE(FoldersOf(m_table), QStringList({"/data/c", "/data/d"}));
        QCOMPARE(Stored("Initial", "TotalJob"), "2");
        QCOMPARE(Stored("1", "FolderLoc"), "/data/c");
        QCOMPARE(Stored("1", "NextRun"), "12/07/2026 09:10 AM");
        QCOMPARE(Stored("2", "FolderLoc"), "/data/d");
    }

    // Moved on, a row of a table sorted by next run takes a later place; every due row still
    // runs, and the save leaves the table clean.
    void sortedTableRunsEveryDueRow()
    {
        m_table.Append(MakeJob("/data/a", RowIcon::Enabled, "Routine", "1", "Hour", Due));
        m_table.Append(MakeJob("/data/b", RowIcon::Enabled, "Routine", "1", "Hour", Due));
        m_table.Append(MakeJob("/data/c", RowIcon::Enabled, "Routine", "1", "Day", "12/07/2026 09:30 AM"));
        m_table.Sort(7, SortKind::Date, true);

        QVERIFY(TimerCheckJobTick(m_table, Now, m_launcher, m_folder));
        QCOMPARE(m_launcher.folders, QStringList({"/data/a", "/data/b"}));
        QCOMPARE(FoldersOf(m_table), QStringList({"/data/c", "/data/a", "/data/b"}));
        QVERIFY(!m_table.IsDirty());
    }

    // A row shows running from its launch to the end of its run, and then what the tick made of it.
    void launchedRowShowsRunningUntilTheRunEnds_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("valEvery");
        QTest::addColumn<QString>("valOfEvery");
        QTest::addColumn<RowIcon>("iconAfter");
        QTest::newRow("routine") << QString("Routine") << QString("1") << QString("Day") << RowIcon::Enabled;
        QTest::newRow("specific") << QString("Specific") << QString(" ") << QString(" ")
                                  << RowIcon::EnabledPassed;
    }

    void launchedRowShowsRunningUntilTheRunEnds()
    {
        QFETCH(QString, style);
        QFETCH(QString, valEvery);
        QFETCH(QString, valOfEvery);
        QFETCH(RowIcon, iconAfter);
        ShowingLauncher launcher(m_table);
        m_table.Append(MakeJob("/data/a", RowIcon::Enabled, style, valEvery, valOfEvery, Due));
        QVERIFY(TimerCheckJobTick(m_table, Now, launcher, m_folder));
        QCOMPARE(launcher.folders, QStringList{"/data/a"});
        QCOMPARE(m_table.Row(0).icon, RowIcon::Running);
        QCOMPARE(m_table.Row(0).savedIcon, iconAfter);

        // The run has ended: no marker in the status file.
        QVERIFY(ResetStatusDump(m_folder));
        TimerCheckStatTick(m_table, m_folder);
        QCOMPARE(m_table.Row(0).icon, iconAfter);
    }

    void runsOncePerMinute()
    {
        m_table.Append(MakeJob("/data/a", RowIcon::Enabled, "Routine", "1", "Day", Due));
        m_table.Append(MakeJob("/data/b", RowIcon::Enabled, "Specific", "", "", Due));
        QVERIFY(TimerCheckJobTick(m_table, Now, m_launcher, m_folder));
        for (int tick = 1; tick < 16; ++tick)
            QVERIFY(!TimerCheckJobTick(m_table, Now.addSecs(3 * tick), m_launcher, m_folder));
        QCOMPARE(m_launcher.folders, QStringList({"/data/a", "/data/b"}));
    }

    // A folder text that the file cannot keep would name another folder after a restart: it
    // is never launched, by the timer or by Run Now, nor moved on, and the row stays as it is.
    void folderThatCannotBeKeptIsNeverLaunched_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("launched");
        QTest::newRow("line feed") << "/data/a\nb" << false;
        QTest::newRow("carriage return") << "/data/a\r" << false;
        QTest::newRow("escapes that spell UTF-8") << QStringView(u"/data/\xDCC3\xDCA9").toString() << false;
        QTest::newRow("lone surrogate") << QStringView(u"/data/\xD800").toString() << false;
        QTest::newRow("blanks at the ends are kept") << " /data/a " << true;
        QTest::newRow("bytes of no UTF-8 are kept") << QStringView(u"/data/caf\xDCE9").toString() << true;
    }

    void folderThatCannotBeKeptIsNeverLaunched()
    {
        QFETCH(QString, folder);
        QFETCH(bool, launched);
        m_table.Append(MakeJob(folder, RowIcon::Enabled, "Routine", "5", "Minute", Due));
        m_table.Append(MakeJob(folder, RowIcon::Enabled, "Specific", " ", " ", Due));
        m_table.Append(MakeJob(folder, RowIcon::Disabled, "Routine", "5", "Minute", Due));
        m_table.Append(
            MakeJob(folder, RowIcon::DisabledPassed, "Routine", "5", "Minute", "12/01/2026 09:00 AM"));
        m_table.SetMissedRunChoice(MissedRun::MoveOn);
        const std::vector<JobRow> before = m_table.Rows();
        QCOMPARE(TimerCheckJobTick(m_table, Now, m_launcher, m_folder), launched);
        CollectCheckManually(m_table, 0, Now, m_launcher);
        QCOMPARE(m_launcher.launches.size(), launched ? 3u : 0u);
        if (!launched)
            QVERIFY(m_table.Rows() == before);
    }

    // One tick after another, 3 seconds apart, through a night when the clock changes: a job
    // runs once in each wall-clock time it names, not again in a repeated hour, and goes on
    // past a skipped one.
    void ticksThroughSummerTimeNights_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("valEvery");
        QTest::addColumn<QString>("valOfEvery");
        QTest::addColumn<QString>("from"); // also the first NextRun
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("runs");
        // clang-format off
        const char* rows[][7] = {
            {"hourly, New York", "America/New_York", "1", "Hour", "11/01/2026 12:30 AM", "11/01/2026 04:00 AM", "11/01/2026 12:30 AM|11/01/2026 01:30 AM|11/01/2026 02:30 AM|11/01/2026 03:30 AM"},
            {"60 minutes, Berlin", "Europe/Berlin", "60", "Minute", "10/25/2026 01:30 AM", "10/25/2026 04:00 AM", "10/25/2026 01:30 AM|10/25/2026 02:30 AM|10/25/2026 03:30 AM"},
            {"hourly, Sydney", "Australia/Sydney", "1", "hour", "04/05/2026 01:30 AM", "04/05/2026 04:00 AM", "04/05/2026 01:30 AM|04/05/2026 02:30 AM|04/05/2026 03:30 AM"},
            {"half-hourly, Lord Howe", "Australia/Lord_Howe", "30", "Minute", "04/05/2026 01:00 AM", "04/05/2026 02:45 AM", "04/05/2026 01:00 AM|04/05/2026 01:30 AM|04/05/2026 02:00 AM|04/05/2026 02:30 AM"},
            {"hourly, Havana", "America/Havana", "1", "Hour", "11/01/2026 12:00 AM", "11/01/2026 02:30 AM", "11/01/2026 12:00 AM|11/01/2026 01:00 AM|11/01/2026 02:00 AM"},
            {"hourly, Santiago", "America/Santiago", "1", "Hour", "04/04/2026 10:30 PM", "04/05/2026 01:00 AM", "04/04/2026 10:30 PM|04/04/2026 11:30 PM|04/05/2026 12:30 AM"},
            {"hourly over the skip, Berlin", "Europe/Berlin", "1", "Hour", "03/29/2026 12:30 AM", "03/29/2026 04:00 AM", "03/29/2026 12:30 AM|03/29/2026 01:30 AM|03/29/2026 03:30 AM"},
            {"half-hourly over the skip, New York", "America/New_York", "30", "Minute", "03/08/2026 01:00 AM", "03/08/2026 03:15 AM", "03/08/2026 01:00 AM|03/08/2026 01:30 AM|03/08/2026 03:00 AM"},
            // A daily run time that the clock skips runs in the first minute after the skip.
            {"daily at a skipped time, Berlin", "Europe/Berlin", "1", "Day", "03/28/2026 02:30 AM", "03/30/2026 03:00 AM", "03/28/2026 02:30 AM|03/29/2026 02:30 AM|03/30/2026 02:30 AM"},
            {"daily at a skipped time, Havana", "America/Havana", "1", "Day", "03/07/2026 12:30 AM", "03/09/2026 01:00 AM", "03/07/2026 12:30 AM|03/08/2026 12:30 AM|03/09/2026 12:30 AM"},
        };
        // clang-format on
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QByteArray(r[1]) << QString(r[2]) << QString(r[3]) << QString(r[4])
                                << QString(r[5]) << QString(r[6]).split('|');
    }

    void ticksThroughSummerTimeNights()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, valEvery);
        QFETCH(QString, valOfEvery);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, runs);
        const auto restore = ScopedZone(zone);
        // A run time that the clock skips or repeats is never a missed run, whatever the choice.
        for (const MissedRun choice : {MissedRun::Wait, MissedRun::MoveOn, MissedRun::RunOnce}) {
            m_table.SetMissedRunChoice(choice);
            m_table.Reset({MakeJob("/data/a", RowIcon::Enabled, "Routine", valEvery, valOfEvery, from)});
            m_launcher.Clear();
            for (QDateTime t = Instants(from).front(); FullForm(t) != to; t = t.addSecs(3)) {
                const TickOutcome outcome = CheckJobs(m_table, t, m_launcher, m_folder, choice);
                QVERIFY(outcome.movedOn.empty());
                QCOMPARE(m_table.Row(0).icon, RowIcon::Enabled);
            }
            QStringList launched;
            for (const Launch& launch : m_launcher.launches)
                launched << launch.values.runTime;
            QCOMPARE(launched, runs);
        }
    }

    // A Routine job whose next run passed unseen: the choice decides; a disabled one is never
    // run, and a Specific one only shows as passed. The saved file holds what the table shows.
    void missedRun_data()
    {
        QTest::addColumn<MissedRun>("choice");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<RowIcon>("icon");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("valOfEvery");
        QTest::addColumn<QString>("nextRun");
        QTest::addColumn<bool>("launched");
        QTest::addColumn<RowIcon>("iconAfter");
        QTest::addColumn<QString>("nextRunAfter");
        QTest::addColumn<bool>("movedOn");

        struct Passed
        {
            const char* name;
            bool loaded; // passed before the load (icon 3, 4), or while the program ran (1, 2)
            const char *style, *valOfEvery, *nextRun, *movedTo;
        };
        const Passed passes[] = {
            {"by 1 minute", false, "Routine", "Minute", "12/07/2026 09:04 AM", "12/07/2026 09:06 AM"},
            {"by days", true, "Routine", "Day", "12/04/2026 08:00 AM", "12/08/2026 08:00 AM"},
            {"specific", false, "Specific", "", "12/04/2026 08:00 AM", nullptr},
        };
        const std::pair<MissedRun, const char*> choices[] = {
            {MissedRun::Wait, "wait"}, {MissedRun::MoveOn, "move on"}, {MissedRun::RunOnce, "run once"}};
        for (const auto& [choice, choiceName] : choices) {
            for (const bool enabled : {true, false}) {
                for (const Passed& p : passes) {
                    const RowIcon notPassed = enabled ? RowIcon::Enabled : RowIcon::Disabled;
                    const RowIcon passed = enabled ? RowIcon::EnabledPassed : RowIcon::DisabledPassed;
                    const bool moves = choice != MissedRun::Wait && p.movedTo;
                    const bool launched = moves && enabled && choice == MissedRun::RunOnce;
                    QTest::addRow("%s, %s, %s", choiceName, enabled ? "enabled" : "disabled", p.name)
                        << choice << enabled << (p.loaded ? passed : notPassed) << QString(p.style)
                        << QString(p.valOfEvery) << QString(p.nextRun) << launched
                        << (moves ? notPassed : passed) << QString(moves ? p.movedTo : p.nextRun)
                        << (moves && !launched);
                }
            }
        }
    }

    void missedRun()
    {
        QFETCH(MissedRun, choice);
        QFETCH(bool, enabled);
        QFETCH(RowIcon, icon);
        QFETCH(QString, style);
        QFETCH(QString, valOfEvery);
        QFETCH(QString, nextRun);
        QFETCH(bool, launched);
        QFETCH(RowIcon, iconAfter);
        QFETCH(QString, nextRunAfter);
        QFETCH(bool, movedOn);
        m_table.SetMissedRunChoice(choice);
        m_table.Append(MakeJob("/data/a", icon, style, "1", valOfEvery, nextRun));
        const bool moves = nextRunAfter != nextRun;

        QCOMPARE(TimerCheckJobTick(m_table, Now, m_launcher, m_folder), moves);

        QCOMPARE(m_launcher.folders, launched ? QStringList{"/data/a"} : QStringList{});
        if (launched)
            QCOMPARE(m_launcher.launches.front().values.runTime, nextRun);
        QCOMPARE(m_table.Row(0).icon, iconAfter);
        QCOMPARE(m_table.Row(0).NextRun, nextRunAfter);
        QCOMPARE(Stored("Initial", "TotalJob"), moves ? "1" : "0");
        if (moves) {
            QCOMPARE(Stored("1", "NextRun"), nextRunAfter);
            QCOMPARE(Stored("1", "Status"), enabled ? "Enabled" : "Disabled");
        }
        // Seen once: the next tick of the same minute changes nothing more.
        QVERIFY(!TimerCheckJobTick(m_table, Now.addSecs(3), m_launcher, m_folder));
        QCOMPARE(m_launcher.launches.size(), launched ? 1u : 0u);

        const TickOutcome outcome = CheckJobs(m_table, Now, m_launcher, m_folder, choice);
        QVERIFY(outcome.movedOn.empty());
        m_table.Reset({MakeJob("/data/a", icon, style, "1", valOfEvery, nextRun)});
        const TickOutcome again = CheckJobs(m_table, Now, m_launcher, m_folder, choice);
        QCOMPARE(again.movedOn.size(), movedOn ? 1u : 0u);
        if (movedOn) {
            QCOMPARE(again.movedOn.front().folder, "/data/a");
            QCOMPARE(again.movedOn.front().missed, nextRun);
            QCOMPARE(again.movedOn.front().nextRun, nextRunAfter);
        }
    }

    // The clock stepped on past a run (a resume from sleep) makes it a missed run; stepped back,
    // the run lies ahead again and nothing is missed.
    void clockSteps_data()
    {
        QTest::addColumn<MissedRun>("choice");
        QTest::addColumn<int>("step"); // seconds
        QTest::addColumn<RowIcon>("iconAfter");
        QTest::addColumn<QString>("nextRunAfter");
        QTest::addColumn<int>("launches");
        const QString next = QStringLiteral("12/07/2026 09:10 AM");
        QTest::newRow("+3 h, wait") << MissedRun::Wait << 3 * 3600 << RowIcon::EnabledPassed << next << 0;
        QTest::newRow("+3 h, move on")
            << MissedRun::MoveOn << 3 * 3600 << RowIcon::Enabled << "12/07/2026 12:10 PM" << 0;
        QTest::newRow("+3 h, run once")
            << MissedRun::RunOnce << 3 * 3600 << RowIcon::Enabled << "12/07/2026 12:10 PM" << 1;
        for (const MissedRun choice : {MissedRun::Wait, MissedRun::MoveOn, MissedRun::RunOnce})
            QTest::addRow("-1 h, choice %d", int(choice)) << choice << -3600 << RowIcon::Enabled << next << 0;
    }

    void clockSteps()
    {
        QFETCH(MissedRun, choice);
        QFETCH(int, step);
        QFETCH(RowIcon, iconAfter);
        QFETCH(QString, nextRunAfter);
        QFETCH(int, launches);
        m_table.SetMissedRunChoice(choice);
        m_table.Append(MakeJob("/data/a", RowIcon::Enabled, "Routine", "5", "Minute", "12/07/2026 09:10 AM"));
        QVERIFY(!TimerCheckJobTick(m_table, Now, m_launcher, m_folder));
        TimerCheckJobTick(m_table, Now.addSecs(step), m_launcher, m_folder);
        QCOMPARE(m_table.Row(0).icon, iconAfter);
        QCOMPARE(m_table.Row(0).NextRun, nextRunAfter);
        QCOMPARE(int(m_launcher.launches.size()), launches);
    }

    // Rows of a hand-edited file that cannot run: shown and saved back as they are, but never
    // launched, by the tick (due or missed) or by Run Now, and the refusal says why.
    void rowsThatCannotRun_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("valPurge");
        QTest::addColumn<QString>("valOfPurge");
        QTest::addColumn<QString>("lookPurgeBy");
        QTest::addColumn<QString>("refusal"); // a word of it; empty: it runs
        const auto row = [](const char* name, const char* status, const char* valPurge,
                            const char* valOfPurge, const char* lookPurgeBy, const char* refusal) {
            QTest::newRow(name) << QString(status) << QString(valPurge) << QString(valOfPurge)
                                << QString(lookPurgeBy) << QString(refusal);
        };
        row("runs", "Enabled", "30", "Day", "Date: Created", "");
        row("threshold unit Fortnight", "Enabled", "30", "Fortnight", "Date: Created", "Fortnight");
        row("threshold x", "Enabled", "x", "Day", "Date: Created", "threshold");
        row("threshold -3", "Enabled", "-3", "Day", "Date: Created", "threshold");
        row("LookPurgeBy typo", "Enabled", "30", "Day", "Date: Modified", "Date: Modified");
        row("status Off", "Off", "30", "Day", "Date: Created", "status");
        row("status 0", "0", "30", "Day", "Date: Created", "status");
    }

    void rowsThatCannotRun()
    {
        QFETCH(QString, status);
        QFETCH(QString, valPurge);
        QFETCH(QString, valOfPurge);
        QFETCH(QString, lookPurgeBy);
        QFETCH(QString, refusal);
        m_table.SetOptions(lookPurgeBy, "0");
        for (const char* nextRun : {"12/07/2026 09:05 AM", "12/07/2026 09:00 AM"}) {
            JobRow row = MakeJob("/data/a", RowIcon::Enabled, "Routine", "5", "Minute", nextRun);
            row.Status = StoredWord<JobStatus>(status);
            row.ValPurge = valPurge;
            row.ValOfPurge = StoredWord<TimeUnit>(valOfPurge);
            m_table.Append(row);
        }
        m_table.SetMissedRunChoice(MissedRun::RunOnce);
        TimerCheckJobTick(m_table, Now, m_launcher, m_folder);
        CollectCheckManually(m_table, 0, Now, m_launcher);
        QCOMPARE(m_launcher.launches.size(), refusal.isEmpty() ? 3u : 0u);
        QCOMPARE(WhyNotLaunched(m_table, 0).contains(refusal), true);
        QCOMPARE(WhyNotLaunched(m_table, 0).isEmpty(), refusal.isEmpty());
        QVERIFY(SaveJobList(m_table, m_folder));
        QCOMPARE(Stored("1", "Status"), status);
        QCOMPARE(Stored("1", "ValPurge"), valPurge);
        QCOMPARE(Stored("1", "ValOfPurge"), valOfPurge);
    }

    void emptyTableDoesNothing()
    {
        QVERIFY(!TimerCheckJobTick(m_table, Now, m_launcher, m_folder));
        QVERIFY(m_launcher.launches.empty());
        QVERIFY(!LogFileExists(m_folder, Now));
    }

    void collectors_data()
    {
        QTest::addColumn<QString>("collector");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("fileFolderStyle");
        QTest::addColumn<QString>("launched");
        QTest::addColumn<QStringList>("keys5789");
        QTest::newRow("run now, routine")
            << "manual"
            << "Routine"
            << "Files Only"
            << "Files" << QStringList{"Manual", "1", "Day", "12/07/2026 09:05 AM"};
        QTest::newRow("run now, specific")
            << "manual"
            << "SPECIFIC"
            << "Include Files in Subfolders"
            << "FileSubfolders" << QStringList{"Manual", "&nbsp", "&nbsp", "12/07/2026 09:05 AM"};
        QTest::newRow("run now, unknown purge style") << "manual"
                                                      << "Routine"
                                                      << "Files and More"
                                                      << "" << QStringList{};
        QTest::newRow("specific collector")
            << "specific"
            << "Specific"
            << "Subfolders Only"
            << "Subfolders" << QStringList{"Specific", "&nbsp", "&nbsp", "01/02/2027 03:04 PM"};
        QTest::newRow("routine collector")
            << "routine"
            << "Routine"
            << "files only"
            << "Files" << QStringList{"Routine", "1", "Day", "01/02/2027 03:04 PM"};
    }

    void collectors()
    {
        QFETCH(QString, collector);
        QFETCH(QString, style);
        QFETCH(QString, fileFolderStyle);
        QFETCH(QString, launched);
        QFETCH(QStringList, keys5789);
        m_table.Append(
            MakeJob("/data/skip", RowIcon::Enabled, "Routine", "9", "Hour", "01/01/2027 01:00 AM"));
        m_table.Append(
            MakeJob("/data/a", RowIcon::Disabled, style, "1", "Day", "01/02/2027 03:04 PM", fileFolderStyle));
        if (collector == "manual")
            CollectCheckManually(m_table, 1, Now, m_launcher);
        else if (collector == "specific")
            CollectCheckSpecific(m_table, 1, m_launcher);
        else
            CollectCheck(m_table, 1, m_launcher);

        QCOMPARE(m_launcher.launches.size(), launched.isEmpty() ? 0u : 1u);
        if (launched.isEmpty())
            return;
        const Launch& launch = m_launcher.launches.front();
        QCOMPARE(launch.method, launched);
        QCOMPARE(launch.values.folder, "/data/a");
        QCOMPARE(launch.values.status, "Disabled");
        QCOMPARE(launch.values.purgeStyle, fileFolderStyle);
        QCOMPARE((QStringList{launch.values.startedAs, launch.values.recurrenceCount,
                              launch.values.recurrenceUnit, launch.values.runTime}),
                 keys5789);
        QCOMPARE(launch.values.dateKind, "Date: Last Modified");
    }
};

QTEST_APPLESS_MAIN(TestCheckTimer)
#include "tst_checktimer.moc"
