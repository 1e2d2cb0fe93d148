// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobconfig.h"
#include "config/jobtable.h"
#include "shared/sortlistview.h"
#include "support/jobrows.h"

#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

JobRow Job(const QString& folder, const QString& valPurge)
{
    return RowOf({.folder = folder, .nextRun = QStringLiteral("12/25/2026 10:30 PM"), .valPurge = valPurge});
}

// The threshold values in table order.
QStringList Values(const JobTable& table)
{
    QStringList values;
    for (const JobRow& row : table.Rows())
        values << row.ValPurge;
    return values;
}

void Load(JobTable& table)
{
    table.Reset({Job("/a", "10"), Job("/b", "50"), Job("/c", "30")});
}

using Change = std::function<void(JobTable&)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class TestJobTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A table sorted by a column click stays sorted: a row added or edited takes its place.
    void sortedTableKeepsItsOrder_data()
    {
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<Change>("change");
        QTest::addColumn<QStringList>("order");

        const Change add = [](JobTable& t) { t.Append(Job("/new", "20")); };
        const Change edit = [](JobTable& t) {
            JobRow row = t.Row(1);
            row.ValPurge = QStringLiteral("60");
            t.Update(1, row);
        };
        QTest::newRow("add, ascending") << true << add << QStringList{"10", "20", "30", "50"};
        QTest::newRow("add, descending") << false << add << QStringList{"50", "30", "20", "10"};
        QTest::newRow("edit, ascending") << true << edit << QStringList{"10", "50", "60"};
        QTest::newRow("edit, descending") << false << edit << QStringList{"60", "50", "10"};
    }
    void sortedTableKeepsItsOrder()
    {
        QFETCH(bool, ascending);
        QFETCH(Change, change);
        QFETCH(QStringList, order);

        JobTable table;
        Load(table);
        table.Sort(2, SortKind::Number, ascending);
        change(table);
        QCOMPARE(Values(table), order);
    }

    void unsortedTableAppendsAtTheEnd()
    {
        JobTable table;
        Load(table);
        table.Append(Job("/new", "20"));
        QCOMPARE(Values(table), QStringList({"10", "50", "30", "20"}));
    }

    // Dirty after any change that a save would write; icons are not saved.
    void dirty_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("dirty");

        QTest::newRow("loaded") << Change([](JobTable&) {}) << false;
        QTest::newRow("added") << Change([](JobTable& t) { t.Append(Job("/d", "5")); }) << true;
        QTest::newRow("removed") << Change([](JobTable& t) { t.Remove(1); }) << true;
        QTest::newRow("field changed") << Change([](JobTable& t) {
            JobRow row = t.Row(0);
            row.Description = QStringLiteral("a remark");
            t.Update(0, row);
        }) << true;
        QTest::newRow("running icon and saved icon") << Change([](JobTable& t) {
            JobRow row = t.Row(0);
            row.savedIcon = row.icon;
            row.icon = RowIcon::Running;
            t.Update(0, row);
        }) << false;
        QTest::newRow("icon") << Change([](JobTable& t) { t.SetIcon(0, RowIcon::EnabledPassed); }) << false;
        QTest::newRow("sorted into a new order")
            << Change([](JobTable& t) { t.Sort(2, SortKind::Number, true); }) << true;
        QTest::newRow("sorted, order kept")
            << Change([](JobTable& t) { t.Sort(1, SortKind::Text, true); }) << false;
    }
    void dirty()
    {
        QFETCH(Change, change);
        QFETCH(bool, dirty);

        JobTable table;
        Load(table);
        change(table);
        QCOMPARE(table.IsDirty(), dirty);
    }

    void saveCleansAndLoadStartsClean()
    {
        QTemporaryDir dir;
        QVERIFY(CreateDefaultConfig(dir.path()));
        JobTable table;
        table.Append(Job("/a", "10"));
        QVERIFY(table.IsDirty());
        QVERIFY(SaveJobList(table, dir.path()));
        QVERIFY(!table.IsDirty());
        table.Append(Job("/b", "20"));
        LoadJobList(table, dir.path(), QDateTime(QDate(2026, 6, 15), QTime(9, 0)));
        QCOMPARE(table.Count(), 1);
        QVERIFY(!table.IsDirty());
    }
};

QTEST_APPLESS_MAIN(TestJobTable)
#include "tst_jobtable.moc"
