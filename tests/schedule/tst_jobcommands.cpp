// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobtable.h"
#include "schedule/jobcommands.h"
#include "support/jobrows.h"
#include "support/zone.h"

#include <QTest>

namespace {

JobRow MakeRow(const QString& folder, RowIcon icon, const QString& status, const QString& nextRun)
{
    return RowOf({.folder = folder, .nextRun = nextRun, .status = status}, icon);
}

QDateTime At(const char* text)
{
    return QDateTime::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace

class TestJobCommands : public QObject
{
    Q_OBJECT

    void CheckSwitch(bool enable, const QDateTime& now, const QString& nextRun, bool switched);

private Q_SLOTS:
    void CommandsOutsideTheTable();
    void SwitchAll_data();
    void SwitchAll();
    void SwitchAllOnSummerTimeNights_data();
    void SwitchAllOnSummerTimeNights();
    void SwitchAllTouchesOnlyItsIcon();
};

void TestJobCommands::CommandsOutsideTheTable()
{
    JobTable empty;
    EnableJob(empty, 0);
    DisableJob(empty, -1);
    DeleteJob(empty, 0);
    QCOMPARE(Enable_All_List(empty, At("2026-06-15 09:00:00")), 0);
    QVERIFY(empty.IsEmpty());

    JobTable table;
    table.Append(MakeRow(QStringLiteral("/a"), RowIcon::Enabled, QStringLiteral("Enabled"), QString()));
    const JobRow before = table.Row(0);
    DisableJob(table, 1);
    DeleteJob(table, -1);
    QCOMPARE(table.Count(), 1);
    QCOMPARE(table.Row(0), before);
}

void TestJobCommands::SwitchAll_data()
{
    QTest::addColumn<bool>("enable");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("nextRun");
    QTest::addColumn<bool>("switched");

    const QDateTime june = At("2026-06-15 09:00:00");
    QTest::newRow("later year") << true << june << "01/01/2027 12:00 AM" << true;
    QTest::newRow("earlier year") << true << june << "01/01/2000 10:00 AM" << false;
    QTest::newRow("later today") << true << june << "06/15/2026 10:00 AM" << true;
    // As texts "01:00 PM" < "11:00 AM": the date-time comparison puts the afternoon after.
    QTest::newRow("afternoon after late morning")
        << true << At("2026-06-15 11:00:00") << "06/15/2026 01:00 PM" << true;
    QTest::newRow("morning before afternoon")
        << true << At("2026-06-15 13:00:00") << "06/15/2026 11:00 AM" << false;
    // As texts "01/05/2027" < "12/25/2026": a passed December date stays disabled.
    QTest::newRow("passed December") << true << At("2027-01-05 09:00:00") << "12/25/2026 10:00 AM" << false;
    QTest::newRow("January after December")
        << true << At("2026-12-25 10:00:00") << "01/05/2027 09:00 AM" << true;
    QTest::newRow("present minute") << true << At("2026-06-15 09:00:45") << "06/15/2026 09:00 AM" << false;
    QTest::newRow("next minute") << true << At("2026-06-15 09:00:59") << "06/15/2026 09:01 AM" << true;
    QTest::newRow("not a date") << true << june << "soon" << false;
    QTest::newRow("empty") << true << june << "" << false;
    QTest::newRow("date form only") << true << june << "12/25/2030" << false;

    QTest::newRow("disable later") << false << june << "06/15/2026 09:01 AM" << true;
    QTest::newRow("disable passed December")
        << false << At("2027-01-05 09:00:00") << "12/25/2026 10:00 AM" << false;
    QTest::newRow("disable afternoon") << false << At("2026-06-15 11:00:00") << "06/15/2026 01:00 PM" << true;
    QTest::newRow("disable not a date") << false << june << "13/45/2026 09:00 AM" << false;
}

void TestJobCommands::SwitchAll()
{
    QFETCH(bool, enable);
    QFETCH(QDateTime, now);
    QFETCH(QString, nextRun);
    QFETCH(bool, switched);
    CheckSwitch(enable, now, nextRun, switched);
}

// Run times are compared with the present on the wall clock, also for a time that the clock
// skips (already passed after the skip) or shows twice.
void TestJobCommands::SwitchAllOnSummerTimeNights_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<bool>("enable");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("nextRun");
    QTest::addColumn<bool>("switched");
    QTest::newRow("skipped time passed, Berlin")
        << QByteArray("Europe/Berlin") << true << "03/29/2026 03:10 AM"
        << "03/29/2026 02:30 AM" << false;
    QTest::newRow("skipped time passed, New York")
        << QByteArray("America/New_York") << false << "03/08/2026 03:00 AM"
        << "03/08/2026 02:59 AM" << false;
    QTest::newRow("skipped time to come, Lord Howe")
        << QByteArray("Australia/Lord_Howe") << true << "10/04/2026 01:59 AM"
        << "10/04/2026 02:15 AM" << true;
    QTest::newRow("repeated time passed, New York")
        << QByteArray("America/New_York") << true << "11/01/2026 01:50 AM"
        << "11/01/2026 01:45 AM" << false;
}

void TestJobCommands::SwitchAllOnSummerTimeNights()
{
    QFETCH(QByteArray, zone);
    QFETCH(bool, enable);
    QFETCH(QString, now);
    QFETCH(QString, nextRun);
    QFETCH(bool, switched);
    const auto restore = ScopedZone(zone);
    for (const QDateTime& at : Instants(now))
        CheckSwitch(enable, at, nextRun, switched);
}

void TestJobCommands::CheckSwitch(bool enable, const QDateTime& now, const QString& nextRun, bool switched)
{
    const RowIcon fromIcon = enable ? RowIcon::Disabled : RowIcon::Enabled;
    const RowIcon toIcon = enable ? RowIcon::Enabled : RowIcon::Disabled;
    const QString fromStatus = enable ? QStringLiteral("Disabled") : QStringLiteral("Enabled");
    const QString toStatus = enable ? QStringLiteral("Enabled") : QStringLiteral("Disabled");

    JobTable table;
    table.Append(MakeRow(QStringLiteral("/job"), fromIcon, fromStatus, nextRun));
    const int changed = enable ? Enable_All_List(table, now) : Disable_All_List(table, now);

    QCOMPARE(changed, switched ? 1 : 0);
    QCOMPARE(table.Row(0).icon, switched ? toIcon : fromIcon);
    QCOMPARE(table.Row(0).Status.Text(), switched ? toStatus : fromStatus);
    QCOMPARE(table.Row(0).NextRun, nextRun);
}

void TestJobCommands::SwitchAllTouchesOnlyItsIcon()
{
    const QString future = QStringLiteral("01/01/2030 10:00 AM");
    JobTable table;
    for (int icon = int(RowIcon::Enabled); icon <= int(RowIcon::Running); ++icon)
        table.Append(MakeRow(QStringLiteral("/job%1").arg(icon), RowIcon(icon), QStringLiteral("x"), future));
    const auto before = table.Rows();
    const QDateTime now = At("2026-06-15 09:00:00");

    QCOMPARE(Enable_All_List(table, now), 1);
    QCOMPARE(table.Row(1).icon, RowIcon::Enabled);
    QCOMPARE(Disable_All_List(table, now), 2);
    QCOMPARE(table.Row(0).icon, RowIcon::Disabled);
    QCOMPARE(table.Row(1).icon, RowIcon::Disabled);
    for (int i = 2; i < table.Count(); ++i)
        QCOMPARE(table.Row(i), before[static_cast<size_t>(i)]);
}

QTEST_APPLESS_MAIN(TestJobCommands)
#include "tst_jobcommands.moc"
