#include "config/jobtable.h"
#include "jobrows.h"
#include "schedule/runtime.h"
#include "schedule/schedulemath.h"
#include "zone.h"

#include <QTest>

namespace {
QDateTime At(const char* fullForm, int second = 0)
{
    return ParseFullForm(QString::fromLatin1(fullForm)).value().addSecs(second);
}
} // namespace

class TestScheduleMath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { UseCentralEuropeanTime(); }

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
        const QDateTime next = GetNextRun(count, unit, base, now);
        QCOMPARE(FullForm(next), expected);
        QCOMPARE(next.time().second(), 0);
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
        QCOMPARE(table.Row(0).NextRun(), expected);
        JobRow others = table.Row(0);
        others.SetNextRun(nextRun);
        QCOMPARE(others, before);
    }

    void adjustDate_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("valOfEvery");
        QTest::addColumn<QString>("nextRun");
        QTest::addColumn<int>("expectedIcon");
        QTest::addColumn<QString>("expectedStatus");
        QTest::addColumn<QString>("expectedNextRun");
        struct Case
        {
            const char* name;
            int icon;
            const char *valOfEvery, *nextRun;
            int expectedIcon;
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
        QFETCH(int, icon);
        QFETCH(QString, valOfEvery);
        QFETCH(QString, nextRun);
        QFETCH(int, expectedIcon);
        QFETCH(QString, expectedStatus);
        QFETCH(QString, expectedNextRun);
        JobTable table;
        JobRow row = MakeJob("/data/a", icon, "Routine", "1", valOfEvery, nextRun);
        row.SetStatus(row.Status().toLower());
        table.Append(row);
        AdjustDate(table, 0, At("03/12/2026 02:15 PM", 30));
        QCOMPARE(table.Row(0).icon, expectedIcon);
        QCOMPARE(table.Row(0).NextRun(), expectedNextRun);
        QCOMPARE(table.Row(0).Status(), expectedStatus);
    }
};

QTEST_APPLESS_MAIN(TestScheduleMath)
#include "tst_schedulemath.moc"
