// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/sortlistview.h"

#include <QTest>
#include <array>

namespace {

// A list row: its cells, 1..7 at [0]..[6].
struct ListRow
{
    quint64 id = 0;
    std::array<QString, 7> cells;
    bool operator==(const ListRow&) const = default;
};

// Rows whose column 2 holds the given texts; every other cell names the row, so that a sort
// that moved a cell without its row would show.
std::vector<ListRow> RowsWith(const QStringList& texts)
{
    std::vector<ListRow> rows;
    for (int i = 0; i < texts.size(); ++i) {
        ListRow row;
        row.id = static_cast<quint64>(i + 1);
        for (size_t c = 0; c < row.cells.size(); ++c)
            row.cells[c] = QStringLiteral("r%1c%2").arg(i).arg(c + 1);
        row.cells[1] = texts.at(i);
        rows.push_back(row);
    }
    return rows;
}

QStringList Column2(const std::vector<ListRow>& rows)
{
    QStringList texts;
    for (const ListRow& row : rows)
        texts << row.cells[1];
    return texts;
}

} // namespace

class TestSortListView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keys_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("key");
        const int number = static_cast<int>(SortKind::Number);
        const int date = static_cast<int>(SortKind::Date);
        QTest::newRow("1.5") << "1.5" << number << QString(19, '0') + "1.5" + QString(9, '0');
        QTest::newRow("-5") << "-5" << number << "&" + QString(19, '9') + "4." + QString(10, '9');
        QTest::newRow("zero") << "0" << number << QString(20, '0') + "." + QString(10, '0');
        QTest::newRow("blanks around") << " 42 " << number << QString(18, '0') + "42." + QString(10, '0');
        QTest::newRow("blank count") << " " << number << "";
        QTest::newRow("not a number") << "Day" << number << "";
        QTest::newRow("infinity") << "inf" << number << "";
        QTest::newRow("run time") << "12/31/2026 11:00 PM" << date << "20261231230000";
        QTest::newRow("midnight") << "01/15/2027 12:05 AM" << date << "20270115000500";
        QTest::newRow("log time, two blanks") << "03/07/2026  02:05 PM" << date << "20260307140500";
        QTest::newRow("seconds, 24-hour clock") << "3/7/2026 14:05:09" << date << "20260307140509";
        QTest::newRow("date alone") << "03/07/2026" << date << "20260307000000";
        QTest::newRow("no date") << "soon" << date << "";
        QTest::newRow("30 February") << "02/30/2026 10:00 AM" << date << "";
        QTest::newRow("hour 13 PM") << "03/07/2026 13:05 PM" << date << "";
        QTest::newRow("trailing words") << "03/07/2026 02:05 PM later" << date << "";
        QTest::newRow("text stays") << "Some Text" << static_cast<int>(SortKind::Text) << "Some Text";
    }

    void keys()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, key);
        QCOMPARE(SortKey(text, static_cast<SortKind>(kind)), key);
    }

    void invNumber() { QCOMPARE(InvNumber("-0123456789.x"), QString(" 9876543210.x")); }

    void sort_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("expected");
        const int number = static_cast<int>(SortKind::Number);
        const int date = static_cast<int>(SortKind::Date);
        const int text = static_cast<int>(SortKind::Text);
        QTest::newRow("numbers ascending")
            << number << true << QStringList{"10", "2", "100"} << QStringList{"2", "10", "100"};
        QTest::newRow("numbers descending")
            << number << false << QStringList{"10", "2", "100"} << QStringList{"100", "10", "2"};
        QTest::newRow("negatives") << number << true << QStringList{"3", "-5", "0", "-10"}
                                   << QStringList{"-10", "-5", "0", "3"};
        QTest::newRow("fractions") << number << true << QStringList{"-0.5", "0.25", "-1.75", "0.2"}
                                   << QStringList{"-1.75", "-0.5", "0.2", "0.25"};
        QTest::newRow("non-numbers first ascending")
            << number << true << QStringList{"5", "", "1", " "} << QStringList{"", " ", "1", "5"};
        QTest::newRow("non-numbers last descending")
            << number << false << QStringList{"5", "", "1", " "} << QStringList{"5", "1", "", " "};
        QTest::newRow("run times ascending")
            << date << true
            << QStringList{"01/15/2027 09:00 AM", "12/31/2026 11:00 PM", "12/31/2026 08:00 AM"}
            << QStringList{"12/31/2026 08:00 AM", "12/31/2026 11:00 PM", "01/15/2027 09:00 AM"};
        QTest::newRow("run times descending, noon and midnight")
            << date << false
            << QStringList{"05/01/2026 12:00 AM", "05/01/2026 12:00 PM", "05/01/2026 01:00 PM"}
            << QStringList{"05/01/2026 01:00 PM", "05/01/2026 12:00 PM", "05/01/2026 12:00 AM"};
        QTest::newRow("log times") << date << true
                                   << QStringList{"11/02/2026  01:00 PM", "11/02/2026  11:00 AM",
                                                  "02/01/2025  09:00 PM"}
                                   << QStringList{"02/01/2025  09:00 PM", "11/02/2026  11:00 AM",
                                                  "11/02/2026  01:00 PM"};
        QTest::newRow("text without regard to case, stable")
            << text << true << QStringList{"beta", "Alpha", "ALPHA", "alpha", "Beta"}
            << QStringList{"Alpha", "ALPHA", "alpha", "beta", "Beta"};
        QTest::newRow("text descending, stable")
            << text << false << QStringList{"b", "A", "a", "B"} << QStringList{"b", "B", "A", "a"};
    }

    void sort()
    {
        QFETCH(int, kind);
        QFETCH(bool, ascending);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, expected);
        const std::vector<ListRow> before = RowsWith(texts);
        std::vector<ListRow> rows = before;
        SortListView(rows, static_cast<SortKind>(kind), ascending,
                     [](const ListRow& r) -> const QString& { return r.cells[1]; });
        QCOMPARE(Column2(rows), expected);
        // Rows move whole: each is one of the rows before, unchanged.
        QCOMPARE(rows.size(), before.size());
        for (const ListRow& row : rows)
            QCOMPARE(row, before.at(row.id - 1));
    }
};

QTEST_APPLESS_MAIN(TestSortListView)
#include "tst_sortlistview.moc"
