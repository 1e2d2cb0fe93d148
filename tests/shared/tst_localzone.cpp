// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/runtime.h"
#include "shared/localzone.h"
#include "support/zone.h"

#include <QRandomGenerator>
#include <QTest>
#include <limits>

namespace {

constexpr qint64 Min = std::numeric_limits<qint64>::min();
constexpr qint64 Max = std::numeric_limits<qint64>::max();
constexpr qint64 DateTimeLimit = Max / 1000;

// The conversion through a local QDateTime, which reads the zone anew every time: what
// LocalMinute must give for every instant a QDateTime holds.
qint64 ByDateTime(qint64 t)
{
    const QDateTime cut = CutToMinute(QDateTime::fromSecsSinceEpoch(t));
    return QDateTime(cut.date(), cut.time(), Qt::UTC).toSecsSinceEpoch();
}

// The local date and time of t as a local QDateTime shows them: what LocalWallTime must show.
QString ShownByDateTime(qint64 t)
{
    return QDateTime::fromSecsSinceEpoch(t).toString(Qt::ISODate).left(19);
}

QString Shown(qint64 t)
{
    return LocalWallTime(t).toString(Qt::ISODate).left(19);
}

int OffsetByDateTime(qint64 t)
{
    return QDateTime::fromSecsSinceEpoch(t).offsetFromUtc();
}

qint64 StartOf(int year)
{
    return QDateTime(QDate(year, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
}

// The instants from which the offset changes, in the years first..last: looked for day by day
// (none of the zones below changes twice in a day), then to the second.
QList<qint64> Transitions(int first, int last)
{
    QList<qint64> found;
    for (qint64 day = StartOf(first); day < StartOf(last + 1); day += 86400) {
        qint64 before = day;
        qint64 after = day + 86400;
        if (OffsetByDateTime(before) == OffsetByDateTime(after))
            continue;
        while (after - before > 1) {
            const qint64 middle = before + (after - before) / 2;
            (OffsetByDateTime(middle) == OffsetByDateTime(before) ? before : after) = middle;
        }
        found.append(after);
    }
    return found;
}

} // namespace

class TestLocalZone : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameAsDateTime_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<bool>("changes"); // whether the offset changes in the years looked at
        QTest::newRow("UTC") << QByteArray("UTC") << false;
        QTest::newRow("Berlin") << QByteArray("Europe/Berlin") << true;
        QTest::newRow("New York") << QByteArray("America/New_York") << true;
        QTest::newRow("Lord Howe, half an hour of summer time") << QByteArray("Australia/Lord_Howe") << true;
        QTest::newRow("Kolkata, offsets with seconds until 1906") << QByteArray("Asia/Kolkata") << true;
        QTest::newRow("St. John's") << QByteArray("America/St_Johns") << true;
        QTest::newRow("Chatham") << QByteArray("Pacific/Chatham") << true;
        QTest::newRow("POSIX rules") << QByteArray("EST5EDT,M3.2.0,M11.1.0") << true;
        QTest::newRow("unknown zone") << QByteArray("Nowhere/Atlantis") << false;
    }
    // Every minute two hours around each change of offset (also at odd seconds, where the
    // local seconds decide the minute), and random instants from 1900 to 2100; the local
    // date and time shown to the second too.
    void sameAsDateTime()
    {
        QFETCH(QByteArray, zone);
        QFETCH(bool, changes);
        const auto restore = ScopedZone(zone);
        LoadLocalZone();
        QList<qint64> transitions;
        for (const auto& [first, last] :
             {std::pair(1900, 1912), std::pair(1940, 1946), std::pair(2024, 2028)})
            transitions += Transitions(first, last);
        QCOMPARE(!transitions.isEmpty(), changes);
        for (const qint64 transition : transitions) {
            for (qint64 t = transition - 7200; t <= transition + 7200; t += 60) {
                for (const qint64 second : {0, 1, 29, 59}) {
                    QCOMPARE(LocalMinute(t + second), ByDateTime(t + second));
                    QCOMPARE(Shown(t + second), ShownByDateTime(t + second));
                }
            }
        }
        QRandomGenerator random(1234);
        for (int i = 0; i < 20000; ++i) {
            const qint64 t = random.bounded(StartOf(1900), StartOf(2101));
            QCOMPARE(LocalMinute(t), ByDateTime(t));
            QCOMPARE(Shown(t), ShownByDateTime(t));
        }
    }

    // At the ends of what a QDateTime holds (as an instant and as local fields) and beyond,
    // where the seconds are cut to the minute as they are, saturating at the least value.
    void ends_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<qint64>("t");
        QTest::addColumn<qint64>("minute"); // 0: as a local QDateTime gives it
        QTest::newRow("least") << QByteArray("UTC") << Min << Min;
        QTest::newRow("least + 7") << QByteArray("UTC") << Min + 7 << Min;
        QTest::newRow("least + 8, a whole minute") << QByteArray("UTC") << Min + 8 << Min + 8;
        QTest::newRow("least + 59") << QByteArray("UTC") << Min + 59 << Min + 8;
        QTest::newRow("greatest") << QByteArray("UTC") << Max << Max - 7;
        QTest::newRow("past a date-time") << QByteArray("UTC") << DateTimeLimit + 1 << DateTimeLimit + 1 - 56;
        QTest::newRow("before a date-time") << QByteArray("UTC") << -DateTimeLimit - 1 << -DateTimeLimit - 5;
        QTest::newRow("last date-time") << QByteArray("UTC") << DateTimeLimit << qint64(0);
        // A QDateTime cannot step back to the minute there, and gave 1970.
        QTest::newRow("first date-time") << QByteArray("UTC") << -DateTimeLimit << -DateTimeLimit - 5;
        QTest::newRow("local fields past a date-time")
            << QByteArray("Europe/Berlin") << DateTimeLimit << DateTimeLimit - 55;
        QTest::newRow("local fields before a date-time")
            << QByteArray("America/New_York") << -DateTimeLimit << -DateTimeLimit - 5;
        QTest::newRow("local fields within a date-time")
            << QByteArray("America/New_York") << DateTimeLimit - 1 << qint64(0);
        QTest::newRow("1901") << QByteArray("Europe/Berlin") << qint64(std::numeric_limits<qint32>::min())
                              << qint64(0);
    }
    void ends()
    {
        QFETCH(QByteArray, zone);
        QFETCH(qint64, t);
        QFETCH(qint64, minute);
        const auto restore = ScopedZone(zone);
        LoadLocalZone();
        QCOMPARE(LocalMinute(t), minute != 0 ? minute : ByDateTime(t));
    }

    // The rules stay those loaded last, whatever TZ says since: no conversion reads the zone.
    void rulesReadOnce()
    {
        const auto restore = ScopedZone("Europe/Berlin");
        LoadLocalZone();
        const qint64 summer = QDateTime(QDate(2026, 7, 1), QTime(12, 0, 30), Qt::UTC).toSecsSinceEpoch();
        qputenv("TZ", "America/New_York");
        QCOMPARE(LocalMinute(summer), summer - 30 + 2 * 3600);
        QCOMPARE(UtcOffsetAt(summer), 2 * 3600);
        LoadLocalZone();
        QCOMPARE(LocalMinute(summer), summer - 30 - 4 * 3600);
    }
};

QTEST_APPLESS_MAIN(TestLocalZone)
#include "tst_localzone.moc"
