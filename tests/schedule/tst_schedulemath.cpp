// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobtable.h"
#include "config/runtime.h"
#include "schedule/schedulemath.h"
#include "support/jobrows.h"
#include "support/zone.h"

#include <QTest>

namespace {
} // namespace

class TestScheduleMath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { UseCentralEuropeanTime(); }
    void cleanup() { UseCentralEuropeanTime(); }

    void getNextRun_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QDateTime>("base");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("expected");
        const QDateTime now = At("03/07/2026 10:02 AM", 41);
        QTest::newRow("base in the present minute")
            << 5 << "Minute" << At("03/07/2026 10:02 AM") << now << "03/07/2026 10:07 AM";
        QTest::newRow("base passed long ago moves one step only")
            << 1 << "Day" << At("03/04/2026 10:02 AM") << now << "03/05/2026 10:02 AM";
        QTest::newRow("base in the future stays")
            << 2 << "Hour" << At("03/08/2026 08:00 AM") << now << "03/08/2026 08:00 AM";
        QTest::newRow("future base is cut to the minute")
            << 2 << "Hour" << At("03/08/2026 08:00 AM", 30) << now << "03/08/2026 08:00 AM";
        QTest::newRow("31 January plus a month") << 1 << "Month" << At("01/31/2027 09:00 AM")
                                                 << At("02/02/2027 09:00 AM") << "02/28/2027 09:00 AM";
        QTest::newRow("31 January plus a month, leap year")
            << 1 << "month" << At("01/31/2028 09:00 AM") << At("02/02/2028 09:00 AM")
            << "02/29/2028 09:00 AM";
        QTest::newRow("units in capitals")
            << 3 << "HOUR" << At("03/07/2026 10:00 AM") << now << "03/07/2026 01:00 PM";
        QTest::newRow("unknown unit gives base")
            << 1 << "Week" << At("03/04/2026 10:02 AM", 12) << now << "03/04/2026 10:02 AM";
        QTest::newRow("across the year") << 5 << "Minute" << At("12/31/2026 11:58 PM")
                                         << At("12/31/2026 11:58 PM", 59) << "01/01/2027 12:03 AM";
        // Minutes are elapsed time: a frequent job is not lost in the gap of summer time.
        QTest::newRow("minutes across the start of summer time")
            << 5 << "Minute" << At("03/29/2026 01:58 AM") << At("03/29/2026 01:58 AM")
            << "03/29/2026 03:03 AM";
        QTest::newRow("days keep the time of day across summer time")
            << 1 << "Day" << At("03/28/2026 09:00 AM") << At("03/28/2026 09:00 AM") << "03/29/2026 09:00 AM";
    }

    void getNextRun()
    {
        QFETCH(int, count);
        QFETCH(QString, unit);
        QFETCH(QDateTime, base);
        QFETCH(QDateTime, now);
        QFETCH(QString, expected);
        const WallClockTime next = GetNextRun(count, unit, WallClockTime::Of(base), now);
        QCOMPARE(FullForm(next), expected);
        QCOMPARE(next.Time().second(), 0);
    }

    void moveOn_data()
    {
        QTest::addColumn<QString>("valEvery");
        QTest::addColumn<QString>("valOfEvery");
        QTest::addColumn<QString>("nextRun");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("expected");
        struct Case
        {
            const char *name, *valEvery, *valOfEvery, *nextRun, *now;
            int second;
            const char* expected;
        };
        const char* old = "03/10/2026 08:00 AM";
        const char* present = "03/12/2026 02:15 PM";
        // clang-format off
        const Case cases[] = {
            {"minutes into the new year", "5", "Minute", "12/31/2026 11:58 PM", "12/31/2026 11:58 PM", 3, "01/01/2027 12:03 AM"},
            {"counted from the present, not the old run", "2", "Hour", "03/07/2026 06:00 AM", "03/07/2026 10:31 AM", 45, "03/07/2026 12:31 PM"},
            {"day keeps the old time of day", "1", "Day", old, present, 0, "03/13/2026 08:00 AM"},
            {"day in capitals", "1", "DAY", old, present, 0, "03/13/2026 08:00 AM"},
            {"month clamps to the last day", "1", "Month", "01/31/2027 09:00 AM", "01/31/2027 09:00 AM", 20, "02/28/2027 09:00 AM"},
            {"unknown unit", "1", "Week", old, present, 0, old},
            {"count not a number", "five", "Minute", old, present, 0, old},
            {"empty count", "", "", old, present, 0, old},
            // Zero would leave the job due and run it on every tick of the minute.
            {"count zero", "0", "Minute", old, present, 0, old},
            {"negative count", "-3", "Day", old, present, 0, old},
            {"count beyond 16 bits", "40000", "Minute", old, present, 0, old},
            {"day with an old run that is no date", "1", "Day", "tomorrow", present, 0, "tomorrow"},
        };
        // clang-format on
        for (const Case& c : cases)
            QTest::newRow(c.name) << QString(c.valEvery) << QString(c.valOfEvery) << QString(c.nextRun)
                                  << At(c.now, c.second) << QString(c.expected);
    }

    void moveOn()
    {
        QFETCH(QString, valEvery);
        QFETCH(QString, valOfEvery);
        QFETCH(QString, nextRun);
        QFETCH(QDateTime, now);
        QFETCH(QString, expected);
        JobTable table;
        table.Append(MakeJob("/data/a", RowIcon::Enabled, "Routine", valEvery, valOfEvery, nextRun));
        const JobRow before = table.Row(0);
        QCOMPARE(MoveOn(table, 0, now), expected != nextRun);
        QCOMPARE(table.Row(0).NextRun, expected);
        JobRow others = table.Row(0);
        others.NextRun = nextRun;
        QCOMPARE(others, before);
    }

    // The move-on of the tick and of Adjust Date on the nights the clock changes, at each
    // instant that shows the present minute: the new run is always later on the wall clock
    // and a day's or a month's keeps its time of day, even one that the clock skips.
    void moveOnAcrossSummerTime_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("valEvery");
        QTest::addColumn<QString>("valOfEvery");
        QTest::addColumn<QString>("nextRun");
        QTest::addColumn<QString>("now");
        QTest::addColumn<QString>("expected");
        // clang-format off
        const char* rows[][7] = {
            // Repeated hours: elapsed time would give the same text again.
            {"hour, New York", "America/New_York", "1", "Hour", "11/01/2026 01:30 AM", "", "11/01/2026 02:30 AM"},
            {"60 minutes, New York", "America/New_York", "60", "Minute", "11/01/2026 01:30 AM", "", "11/01/2026 02:30 AM"},
            {"hour, Berlin", "Europe/Berlin", "1", "hour", "10/25/2026 02:30 AM", "", "10/25/2026 03:30 AM"},
            {"hour, Sydney", "Australia/Sydney", "1", "Hour", "04/05/2026 02:30 AM", "", "04/05/2026 03:30 AM"},
            {"half hour, Lord Howe", "Australia/Lord_Howe", "30", "Minute", "04/05/2026 01:45 AM", "", "04/05/2026 02:15 AM"},
            {"hour, Havana", "America/Havana", "1", "Hour", "11/01/2026 12:30 AM", "", "11/01/2026 01:30 AM"},
            {"hour past midnight, Santiago", "America/Santiago", "1", "Hour", "04/04/2026 11:30 PM", "", "04/05/2026 12:30 AM"},
            // Skipped hours: a sum that lands there moves on by the skip.
            {"hour into the skip, Berlin", "Europe/Berlin", "1", "Hour", "03/29/2026 01:30 AM", "", "03/29/2026 03:30 AM"},
            {"90 minutes into the skip, New York", "America/New_York", "90", "Minute", "03/08/2026 01:00 AM", "", "03/08/2026 03:30 AM"},
            {"into the half-hour skip, Lord Howe", "Australia/Lord_Howe", "15", "Minute", "10/04/2026 01:45 AM", "", "10/04/2026 02:30 AM"},
            {"into the skip at midnight, Havana", "America/Havana", "1", "Hour", "03/07/2026 11:30 PM", "", "03/08/2026 01:30 AM"},
            {"over the skip, Sydney", "Australia/Sydney", "2", "Hour", "10/04/2026 01:00 AM", "", "10/04/2026 03:00 AM"},
            // Days and months keep a time of day that the clock skips.
            {"day into the skip, Berlin", "Europe/Berlin", "1", "Day", "03/28/2026 02:30 AM", "", "03/29/2026 02:30 AM"},
            {"day from the skip, Berlin", "Europe/Berlin", "1", "Day", "03/29/2026 02:30 AM", "03/29/2026 03:00 AM", "03/30/2026 02:30 AM"},
            {"month from the skip, New York", "America/New_York", "1", "Month", "03/08/2026 02:30 AM", "03/08/2026 03:00 AM", "04/08/2026 02:30 AM"},
            {"day from the skip, Lord Howe", "Australia/Lord_Howe", "1", "Day", "10/04/2026 02:15 AM", "10/04/2026 02:30 AM", "10/05/2026 02:15 AM"},
            {"day from the skip, Havana", "America/Havana", "1", "Day", "03/08/2026 12:30 AM", "03/08/2026 01:00 AM", "03/09/2026 12:30 AM"},
            {"days from the skip, Santiago", "America/Santiago", "2", "Day", "09/06/2026 12:15 AM", "09/06/2026 01:00 AM", "09/08/2026 12:15 AM"},
            {"day from the skip, Sydney", "Australia/Sydney", "1", "Day", "10/04/2026 02:30 AM", "10/04/2026 11:00 AM", "10/05/2026 02:30 AM"},
        };
        // clang-format on
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QByteArray(r[1]) << QString(r[2]) << QString(r[3]) << QString(r[4])
                                << QString(*r[5] ? r[5] : r[4]) << QString(r[6]);
    }

    void moveOnAcrossSummerTime()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, valEvery);
        QFETCH(QString, valOfEvery);
        QFETCH(QString, nextRun);
        QFETCH(QString, now);
        QFETCH(QString, expected);
        UseZone(zone);
        const QList<QDateTime> instants = Instants(now);
        QVERIFY(!instants.isEmpty());
        for (const QDateTime& at : instants) {
            JobTable table;
            for (int i = 0; i < 2; ++i)
                table.Append(
                    MakeJob("/data/a", RowIcon::EnabledPassed, "Routine", valEvery, valOfEvery, nextRun));
            MoveOn(table, 0, at.addSecs(20));
            AdjustDate(table, 1, at.addSecs(20));
            QCOMPARE(table.Row(0).NextRun, expected);
            QCOMPARE(table.Row(1).NextRun, expected);
        }
    }

    void adjustDate_data()
    {
        QTest::addColumn<RowIcon>("icon");
        QTest::addColumn<QString>("valOfEvery");
        QTest::addColumn<QString>("nextRun");
        QTest::addColumn<RowIcon>("expectedIcon");
        QTest::addColumn<QString>("expectedStatus");
        QTest::addColumn<QString>("expectedNextRun");
        struct Case
        {
            const char* name;
            RowIcon icon;
            const char *valOfEvery, *nextRun;
            RowIcon expectedIcon;
            const char *expectedStatus, *expectedNextRun;
        };
        // The present is 03/12/2026 02:15 PM; the rows hold their status in lower case, as a
        // hand-edited file may, so a status that is set shows.
        const char* old = "03/10/2026 08:00 AM";
        // clang-format off
        const Case cases[] = {
            {"disabled and passed", RowIcon::DisabledPassed, "Day", old, RowIcon::Disabled, "Disabled", "03/13/2026 08:00 AM"},
            {"enabled and passed", RowIcon::EnabledPassed, "Hour", old, RowIcon::Enabled, "Enabled", "03/12/2026 03:15 PM"},
            {"in the present minute", RowIcon::Enabled, "Minute", "03/12/2026 02:15 PM", RowIcon::Enabled, "enabled", "03/12/2026 02:16 PM"},
            {"in the future", RowIcon::EnabledPassed, "Minute", "03/12/2026 02:16 PM", RowIcon::EnabledPassed, "enabled", "03/12/2026 02:16 PM"},
            {"folder missing keeps its icon", RowIcon::FolderMissing, "Day", old, RowIcon::FolderMissing, "enabled", "03/13/2026 08:00 AM"},
            {"unknown unit still clears passed", RowIcon::EnabledPassed, "Fortnight", old, RowIcon::Enabled, "Enabled", old},
            {"next run no date", RowIcon::EnabledPassed, "Day", "03/10/2026", RowIcon::EnabledPassed, "enabled", "03/10/2026"},
        };
        // clang-format on
        for (const Case& c : cases)
            QTest::newRow(c.name) << c.icon << QString(c.valOfEvery) << QString(c.nextRun) << c.expectedIcon
                                  << QString(c.expectedStatus) << QString(c.expectedNextRun);
    }

    void adjustDate()
    {
        QFETCH(RowIcon, icon);
        QFETCH(QString, valOfEvery);
        QFETCH(QString, nextRun);
        QFETCH(RowIcon, expectedIcon);
        QFETCH(QString, expectedStatus);
        QFETCH(QString, expectedNextRun);
        JobTable table;
        JobRow row = MakeJob("/data/a", icon, "Routine", "1", valOfEvery, nextRun);
        row.Status = StoredWord<JobStatus>(row.Status.Text().toLower());
        table.Append(row);
        AdjustDate(table, 0, At("03/12/2026 02:15 PM", 30));
        QCOMPARE(table.Row(0).icon, expectedIcon);
        QCOMPARE(table.Row(0).NextRun, expectedNextRun);
        QCOMPARE(table.Row(0).Status.Text(), expectedStatus);
    }
};

QTEST_APPLESS_MAIN(TestScheduleMath)
#include "tst_schedulemath.moc"
