// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/purgeengine.h"
#include "tst_purgefixture.h"

#include <limits>

Q_DECLARE_METATYPE(PurgeOutcome)

class TestPurgeResult : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Dates at the ends of the range: the oldest are as old as can be, the latest not old at all.
    void extremeDates_data()
    {
        QTest::addColumn<qint64>("date"); // as far as the file system keeps it
        QTest::addColumn<bool>("deleted");
        constexpr qint64 Min = std::numeric_limits<qint64>::min();
        QTest::newRow("earliest") << Min << true;
        QTest::newRow("earliest + 59") << Min + 59 << true;
        QTest::newRow("1901") << qint64(std::numeric_limits<qint32>::min()) << true;
        QTest::newRow("1970") << qint64(0) << true;
        QTest::newRow("now") << TestNow().toSecsSinceEpoch() << false;
        QTest::newRow("latest") << std::numeric_limits<qint64>::max() << false;
    }
    void extremeDates()
    {
        QFETCH(qint64, date);
        QFETCH(bool, deleted);
        const PurgeTree tree{PurgeTree::InMemory()};
        tree.File("item", 0);
        const timespec times[2] = {{date, 0}, {date, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, tree.Path("item").constData(), times, 0), 0);
        const MockClock clock(TestNow());
        const std::atomic_bool stop = false;
        const PurgeResult result = RunSchedule(Request("Files Only", tree.Text()), clock, stop);
        QCOMPARE(result.count, deleted ? 1 : 0);
        QCOMPARE(tree.Exists("item"), !deleted);
    }

    void outcome_data()
    {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<PurgeOutcome>("outcome");
        QTest::addColumn<qint64>("count");
        QTest::newRow("complete") << QByteArray() << false << PurgeOutcome::Complete << qint64(1);
        QTest::newRow("stopped") << QByteArray() << true << PurgeOutcome::Stopped << qint64(0);
        QTest::newRow("missing folder")
            << QByteArray("missing") << false << PurgeOutcome::NotOpened << qint64(0);
        QTest::newRow("a file for a folder")
            << QByteArray("old.txt") << false << PurgeOutcome::NotOpened << qint64(0);
    }
    void outcome()
    {
        QFETCH(QByteArray, folder);
        QFETCH(bool, stopped);
        QFETCH(PurgeOutcome, outcome);
        QFETCH(qint64, count);
        const PurgeTree tree;
        tree.File("old.txt", OldDate());
        const MockClock clock(TestNow());
        const std::atomic_bool stop = stopped;
        const PurgeResult result = RunSchedule(Request("Files Only", tree.Text(folder)), clock, stop);
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.count, count);
    }
};

QTEST_APPLESS_MAIN(TestPurgeResult)
#include "tst_purgeresult.moc"
