// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobwords.h"
#include "config/runtime.h"
#include "support/zone.h"

#include <QLocale>
#include <QTest>

class TestRunTime : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        UseCentralEuropeanTime();
        // Stored run times must not follow the user's language.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void cleanup() { UseCentralEuropeanTime(); }

    void forms_data()
    {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<QString>("full");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("clock");
        QTest::newRow("afternoon") << QDateTime({2026, 3, 7}, {14, 5}) << "03/07/2026 02:05 PM"
                                   << "03/07/2026"
                                   << "02:05 PM";
        QTest::newRow("midnight") << QDateTime({2026, 12, 31}, {0, 0}) << "12/31/2026 12:00 AM"
                                  << "12/31/2026"
                                  << "12:00 AM";
        QTest::newRow("noon") << QDateTime({2027, 1, 1}, {12, 0}) << "01/01/2027 12:00 PM"
                              << "01/01/2027"
                              << "12:00 PM";
        QTest::newRow("last minute") << QDateTime({2026, 12, 31}, {23, 59, 59}) << "12/31/2026 11:59 PM"
                                     << "12/31/2026"
                                     << "11:59 PM";
        QTest::newRow("one in the morning") << QDateTime({2026, 6, 9}, {1, 7}) << "06/09/2026 01:07 AM"
                                            << "06/09/2026"
                                            << "01:07 AM";
        QTest::newRow("early year") << QDateTime({999, 2, 3}, {11, 30}) << "02/03/0999 11:30 AM"
                                    << "02/03/0999"
                                    << "11:30 AM";
    }

    void forms()
    {
        QFETCH(QDateTime, time);
        QFETCH(QString, full);
        QFETCH(QString, date);
        QFETCH(QString, clock);
        const WallClockTime wall = WallClockTime::Of(time);
        QCOMPARE(FullForm(time), full);
        QCOMPARE(FullForm(wall), full);
        QCOMPARE(DateForm(wall), date);
        QCOMPARE(TimeForm(wall), clock);
        QCOMPARE(ParseFullForm(full), std::optional(wall));
        QCOMPARE(wall.Date(), time.date());
        QCOMPARE(wall.Time(), QTime(time.time().hour(), time.time().minute()));
    }

    void order_data()
    {
        QTest::addColumn<QString>("earlier");
        QTest::addColumn<QString>("later");
        // The first, second and last would sort the other way round as texts.
        QTest::newRow("afternoon after morning") << "03/07/2026 11:00 AM"
                                                 << "03/07/2026 01:00 PM";
        QTest::newRow("January after December") << "12/31/2026 11:59 PM"
                                                << "01/01/2027 12:00 AM";
        QTest::newRow("one minute apart") << "03/07/2026 02:05 PM"
                                          << "03/07/2026 02:06 PM";
        QTest::newRow("before 1970") << "12/31/1969 11:59 PM"
                                     << "01/01/1970 12:00 AM";
    }

    void order()
    {
        QFETCH(QString, earlier);
        QFETCH(QString, later);
        const WallClockTime a = ParseFullForm(earlier).value();
        const WallClockTime b = ParseFullForm(later).value();
        QVERIFY(a < b);
        QVERIFY(b > a);
        QVERIFY(a != b);
        QCOMPARE(a, ParseFullForm(earlier).value());
    }

    // Arithmetic on the fields alone: days and months keep the time of day, a month that lacks
    // the day ends on its last one, and minutes before 1970 fall on their own day.
    void arithmetic_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<TimeUnit>("unit");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        // clang-format off
        const auto n = TimeUnit::Minute;
        const auto d = TimeUnit::Day;
        const auto m = TimeUnit::Month;
        const struct { const char *name, *base; TimeUnit unit; int count; const char* expected; } rows[] = {
            {"minutes into the new year", "12/31/2026 11:58 PM", n, 5, "01/01/2027 12:03 AM"},
            {"minute back into 1969", "01/01/1970 12:00 AM", n, -1, "12/31/1969 11:59 PM"},
            {"a day and a minute back, 1900", "03/01/1900 12:00 AM", n, -1441, "02/27/1900 11:59 PM"},
            {"day into a leap day", "02/28/2028 08:00 AM", d, 1, "02/29/2028 08:00 AM"},
            {"day back into 1969", "01/01/1970 08:00 AM", d, -1, "12/31/1969 08:00 AM"},
            {"31 January plus a month", "01/31/2027 09:00 AM", m, 1, "02/28/2027 09:00 AM"},
            {"31 January plus a month, leap year", "01/31/2028 09:00 AM", m, 1, "02/29/2028 09:00 AM"},
            {"leap day plus a year", "02/29/2028 11:15 PM", m, 12, "02/28/2029 11:15 PM"},
            {"31 March less a month", "03/31/2026 12:30 AM", m, -1, "02/28/2026 12:30 AM"},
        };
        // clang-format on
        for (const auto& row : rows)
            QTest::newRow(row.name) << QString(row.base) << row.unit << row.count << QString(row.expected);
    }

    void arithmetic()
    {
        QFETCH(QString, base);
        QFETCH(TimeUnit, unit);
        QFETCH(int, count);
        QFETCH(QString, expected);
        const WallClockTime t = ParseFullForm(base).value();
        const WallClockTime sum = unit == TimeUnit::Minute ? t.AddMinutes(count)
                                  : unit == TimeUnit::Day  ? t.AddDays(count)
                                                           : t.AddMonths(count);
        QCOMPARE(FullForm(sum), expected);
    }

    void parseRefusesOtherForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("hour without leading zero") << "03/07/2026 2:05 PM";
        QTest::newRow("month without leading zero") << "3/07/2026 02:05 PM";
        QTest::newRow("two-digit year") << "03/07/26 02:05 PM";
        QTest::newRow("24-hour clock") << "03/07/2026 14:05";
        QTest::newRow("hour 13") << "03/07/2026 13:05 PM";
        QTest::newRow("hour 00") << "03/07/2026 00:05 AM";
        QTest::newRow("minute 60") << "03/07/2026 02:60 PM";
        QTest::newRow("lower-case pm") << "03/07/2026 02:05 pm";
        QTest::newRow("two blanks") << "03/07/2026  02:05 PM";
        QTest::newRow("trailing blank") << "03/07/2026 02:05 PM ";
        QTest::newRow("30 February") << "02/30/2026 10:00 AM";
        QTest::newRow("month 13") << "13/01/2026 10:00 AM";
        QTest::newRow("day 00") << "01/00/2026 10:00 AM";
        QTest::newRow("not digits") << "ab/cd/efgh ij:kl AM";
        QTest::newRow("other digits") << QString::fromUtf8("٠٣/٠٧/٢٠٢٦ ٠٢:٠٥ PM");
    }

    void parseRefusesOtherForms()
    {
        QFETCH(QString, text);
        QCOMPARE(ParseFullForm(text), std::nullopt);
    }

    // A time that the clock skips or shows twice reads back as itself, in any zone, and names a
    // local time at or past it: it is a run time that a daily job keeps.
    void parseKeepsTimesOfSummerTimeNights_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("text");
        const char* rows[][3] = {
            {"skipped, Berlin", "Europe/Berlin", "03/29/2026 02:30 AM"},
            {"repeated, Berlin", "Europe/Berlin", "10/25/2026 02:30 AM"},
            {"skipped, New York", "America/New_York", "03/08/2026 02:00 AM"},
            {"repeated, New York", "America/New_York", "11/01/2026 01:59 AM"},
            {"skipped, Sydney", "Australia/Sydney", "10/04/2026 02:45 AM"},
            {"repeated, Sydney", "Australia/Sydney", "04/05/2026 02:15 AM"},
            {"skipped half hour, Lord Howe", "Australia/Lord_Howe", "10/04/2026 02:15 AM"},
            {"skipped at midnight, Havana", "America/Havana", "03/08/2026 12:30 AM"},
            {"repeated before midnight, Santiago", "America/Santiago", "04/04/2026 11:30 PM"},
            {"skipped, POSIX rules", "CET-1CEST,M3.5.0,M10.5.0/3", "03/29/2026 02:59 AM"},
        };
        for (const auto& row : rows)
            QTest::newRow(row[0]) << QByteArray(row[1]) << QString(row[2]);
    }

    void parseKeepsTimesOfSummerTimeNights()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, text);
        UseZone(zone);
        const WallClockTime t = ParseFullForm(text).value();
        QCOMPARE(FullForm(t), text);
        const WallClockTime shown = WallClockTime::Of(t.ToLocalTime());
        QVERIFY(shown >= t);
        QVERIFY(shown <= t.AddMinutes(60));
    }

    void cutToMinuteDropsSeconds()
    {
        QCOMPARE(CutToMinute(QDateTime({2026, 3, 7}, {10, 2, 59, 999})), QDateTime({2026, 3, 7}, {10, 2}));
        // In the hour repeated at the end of summer time the cut stays in the same hour.
        const QDateTime second = QDateTime({2026, 10, 25}, {1, 30}).addSecs(2 * 3600 + 42);
        QCOMPARE(second.time(), QTime(2, 30, 42));
        QCOMPARE(CutToMinute(second).toSecsSinceEpoch(), second.toSecsSinceEpoch() - 42);
    }
};

QTEST_APPLESS_MAIN(TestRunTime)
#include "tst_runtime.moc"
