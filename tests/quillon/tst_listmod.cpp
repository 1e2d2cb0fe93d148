// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon/fakes.h"
#include "quillon/listmod.h"

#include <QTemporaryDir>
#include <QTest>

using namespace quillon;

class TestListMod : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ModifiedText_data();
    void ModifiedText();
    void CollectsMatchingFilesWithPaths();
};

void TestListMod::ModifiedText_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("afternoon") << QDateTime(QDate(2027, 1, 5), QTime(13, 7)) << "01/05/2027  01:07 PM";
    QTest::newRow("midnight") << QDateTime(QDate(2026, 12, 31), QTime(0, 0)) << "12/31/2026  12:00 AM";
    QTest::newRow("noon") << QDateTime(QDate(2026, 6, 1), QTime(12, 30)) << "06/01/2026  12:30 PM";
}

void TestListMod::ModifiedText()
{
    QFETCH(QDateTime, time);
    QFETCH(QString, text);
    QCOMPARE(quillon::ModifiedText(time), text);
}

void TestListMod::CollectsMatchingFilesWithPaths()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/my logs";
    QDir().mkpath(folder + "/sub.htm");
    const QDateTime time(QDate(2026, 3, 2), QTime(9, 15));
    WriteFile(folder + "/b.htm", "x", time);
    WriteFile(folder + "/a.htm", "x", time);
    WriteFile(folder + "/.hidden.htm");
    WriteFile(folder + "/htm");

    const auto rows = CollectLogFiles(folder, ".htm");
    QVERIFY(rows);
    QCOMPARE(rows->size(), 2u);
    QCOMPARE(rows->at(0).name, "a.htm");
    QCOMPARE(rows->at(0).path, folder + "/a.htm");
    QCOMPARE(rows->at(0).modified, "03/02/2026  09:15 AM");
    QCOMPARE(rows->at(1).name, "b.htm");
}

QTEST_APPLESS_MAIN(TestListMod)
#include "tst_listmod.moc"
