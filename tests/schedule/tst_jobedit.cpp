// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobtable.h"
#include "config/runtime.h"
#include "schedule/jobedit.h"
#include "support/jobrows.h"
#include "support/zone.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A date-time given in the stored form, plus seconds where the case needs them.
JobEditValues Values(std::optional<ScheduleKind> kind, const QString& valEvery, const QString& valOfEvery,
                     const WallClockTime& picked, bool adjust = false)
{
    JobEditValues v;
    v.folder = QStringLiteral("/srv/new");
    v.valPurge = QStringLiteral("30");
    v.valOfPurge = QStringLiteral("Hour");
    v.description = QStringLiteral("remark");
    v.kind = kind;
    v.fileFolderStyle = QStringLiteral("Subfolders Only");
    v.valEvery = valEvery;
    v.valOfEvery = valOfEvery;
    v.picked = picked;
    v.adjust = adjust;
    return v;
}

JobRow OldRow(const QString& folder, RowIcon icon, const QString& status, const QString& nextRun)
{
    JobRow row = RowOf({.folder = folder,
                        .nextRun = nextRun,
                        .status = status,
                        .valPurge = QStringLiteral("7"),
                        .valEvery = QStringLiteral("2"),
                        .description = QStringLiteral("old remark")},
                       icon);
    row.savedIcon = RowIcon::Enabled;
    return row;
}

// The schedule option of the editor, none selected when empty.
using Kind = std::optional<ScheduleKind>;

} // namespace

Q_DECLARE_METATYPE(ScheduleKind)
Q_DECLARE_METATYPE(Kind)

class TestJobEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void NewJobStart_data();
    void NewJobStart();
    void NewJobFields_data();
    void NewJobFields();
    void EditedRun_data();
    void EditedRun();
    void RunOnSummerTimeNights_data();
    void RunOnSummerTimeNights();
    void EditedFields_data();
    void EditedFields();
    void EditFollowsTheRowItOpened();
    void EditOfARemovedRowWritesNothing();
    void FolderChecks();
    void TrashChoice_data();
    void TrashChoice();
};

void TestJobEdit::NewJobStart_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<ScheduleKind>("kind");
    QTest::addColumn<QString>("valEvery");
    QTest::addColumn<QString>("valOfEvery");
    QTest::addColumn<QDateTime>("picked");
    QTest::addColumn<QString>("nextRun");

    const QDateTime ten = At(QStringLiteral("06/15/2026 10:00 AM"), 20);
    QTest::newRow("routine, earlier time today: start is now, one step on")
        << ten << ScheduleKind::Routine << "1"
        << "Hour" << At(QStringLiteral("06/15/2026 09:00 AM")) << "06/15/2026 11:00 AM";
    QTest::newRow("routine, tomorrow earlier time: time of day raised, kept as start")
        << ten << ScheduleKind::Routine << "1"
        << "Day" << At(QStringLiteral("06/16/2026 08:00 AM")) << "06/16/2026 10:00 AM";
    QTest::newRow("specific, tomorrow earlier time: time of day raised")
        << ten << ScheduleKind::Specific << " "
        << " " << At(QStringLiteral("06/16/2026 08:00 AM")) << "06/16/2026 10:00 AM";
    QTest::newRow("specific, past date, later time: today at the picked time")
        << ten << ScheduleKind::Specific << " "
        << " " << At(QStringLiteral("06/01/2026 11:30 AM")) << "06/15/2026 11:30 AM";
    QTest::newRow("specific, past date, earlier time: the present minute")
        << ten << ScheduleKind::Specific << " "
        << " " << At(QStringLiteral("06/01/2026 08:00 AM")) << "06/15/2026 10:00 AM";
    QTest::newRow("specific, present minute with seconds picked")
        << ten << ScheduleKind::Specific << " "
        << " " << At(QStringLiteral("06/15/2026 10:00 AM"), 59) << "06/15/2026 10:00 AM";
    QTest::newRow("routine in the future keeps its start")
        << ten << ScheduleKind::Routine << "15"
        << "Minute" << At(QStringLiteral("06/20/2026 02:30 PM")) << "06/20/2026 02:30 PM";
    QTest::newRow("routine month from 31 January: last day of February")
        << At(QStringLiteral("01/31/2027 09:00 AM")) << ScheduleKind::Routine << "1"
        << "Month" << At(QStringLiteral("01/31/2027 09:00 AM")) << "02/28/2027 09:00 AM";
    QTest::newRow("routine across the year end")
        << At(QStringLiteral("12/31/2026 11:58 PM"), 30) << ScheduleKind::Routine << "5"
        << "minute" << At(QStringLiteral("12/31/2026 11:00 PM")) << "01/01/2027 12:03 AM";
}

void TestJobEdit::NewJobStart()
{
    QFETCH(QDateTime, now);
    QFETCH(ScheduleKind, kind);
    QFETCH(QString, valEvery);
    QFETCH(QString, valOfEvery);
    QFETCH(QDateTime, picked);
    QFETCH(QString, nextRun);

    JobTable table;
    WriteNewJob(table, Values(kind, valEvery, valOfEvery, WallClockTime::Of(picked)), now);
    QCOMPARE(table.Row(0).NextRun, nextRun);
}

void TestJobEdit::NewJobFields_data()
{
    QTest::addColumn<ScheduleKind>("kind");
    QTest::addColumn<QStringList>("schedule");

    QTest::newRow("routine") << ScheduleKind::Routine << QStringList{"Routine", "3", "Day"};
    QTest::newRow("specific") << ScheduleKind::Specific << QStringList{"Specific", " ", " "};
}

void TestJobEdit::NewJobFields()
{
    QFETCH(ScheduleKind, kind);
    QFETCH(QStringList, schedule);

    JobTable table;
    table.Append(OldRow(QStringLiteral("/srv/a"), RowIcon::DisabledPassed, QStringLiteral("Disabled"),
                        QStringLiteral("01/01/2026 10:00 AM")));
    const QDateTime now = At(QStringLiteral("06/15/2026 10:00 AM"));
    const quint64 id = WriteNewJob(
        table, Values(kind, QStringLiteral("3"), QStringLiteral("Day"), WallClockTime::Of(now)), now);

    QCOMPARE(table.Count(), 2);
    const JobRow& row = table.Row(1);
    QCOMPARE(row.id, id);
    QCOMPARE(row.FolderLoc, QStringLiteral("/srv/new"));
    QCOMPARE(row.icon, RowIcon::Enabled);
    QCOMPARE(row.Status.Text(), QStringLiteral("Enabled"));
    QCOMPARE(row.ValPurge, QStringLiteral("30"));
    QCOMPARE(row.savedIcon, std::nullopt);
    QCOMPARE(row.ValOfPurge.Text(), QStringLiteral("Hour"));
    QCOMPARE(row.Description, QStringLiteral("remark"));
    QCOMPARE(row.FileFolderStyle.Text(), QStringLiteral("Subfolders Only"));
    QCOMPARE((QStringList{row.Style.Text(), row.ValEvery, row.ValOfEvery.Text()}), schedule);
}

void TestJobEdit::EditedRun_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<int>("icon");
    QTest::addColumn<ScheduleKind>("kind");
    QTest::addColumn<QString>("valEvery");
    QTest::addColumn<QString>("valOfEvery");
    QTest::addColumn<QDateTime>("picked");
    QTest::addColumn<bool>("adjust");
    QTest::addColumn<QString>("nextRun");
    QTest::addColumn<int>("newIcon");
    QTest::addColumn<QString>("status");

    const auto R = ScheduleKind::Routine;
    const auto S = ScheduleKind::Specific;
    const QString old = QStringLiteral("03/03/2026 03:00 AM");
    const QDateTime nine = At(QStringLiteral("06/15/2026 09:00 AM"), 40);
    const QDateTime yesterdayNine = At(QStringLiteral("06/14/2026 09:00 AM"));
    const QDateTime yesterdayEight = At(QStringLiteral("06/14/2026 08:00 AM"));
    const QDateTime one = At(QStringLiteral("06/15/2026 01:00 PM"));
    const QDateTime elevenToday = At(QStringLiteral("06/15/2026 11:00 AM"));
    const QDateTime january = At(QStringLiteral("01/05/2027 09:00 AM"));
    const QDateTime december = At(QStringLiteral("12/25/2026 10:00 AM"));

    // Status is written only where the adjust turns a passed icon back; the old one is in
    // capitals to tell them apart. Without the check mark the picked run is stored and the
    // icon follows it.
    QTest::newRow("passed run marks enabled passed")
        << nine << 1 << R << "1"
        << "Day" << yesterdayNine << false << "06/14/2026 09:00 AM" << 3 << "ENABLED";
    QTest::newRow("passed run marks disabled passed")
        << nine << 2 << R << "1"
        << "Day" << yesterdayNine << false << "06/14/2026 09:00 AM" << 4 << "DISABLED";
    QTest::newRow("future run unmarks passed") << nine << 4 << S << " "
                                               << " " << At(QStringLiteral("06/15/2026 09:01 AM")) << false
                                               << "06/15/2026 09:01 AM" << 2 << "DISABLED";
    QTest::newRow("present minute leaves the icon") << nine << 3 << R << "1"
                                                    << "Day" << At(QStringLiteral("06/15/2026 09:00 AM"), 5)
                                                    << false << "06/15/2026 09:00 AM" << 3 << "ENABLED";
    QTest::newRow("not found icon stays")
        << nine << 5 << R << "1"
        << "Day" << yesterdayNine << false << "06/14/2026 09:00 AM" << 5 << "ENABLED";
    QTest::newRow("running icon stays") << nine << 6 << R << "1"
                                        << "Day" << At(QStringLiteral("06/16/2026 09:00 AM")) << false
                                        << "06/16/2026 09:00 AM" << 6 << "ENABLED";
    // Cases where the "MM/dd/yyyy hh:nn AM/PM" texts order the times wrongly.
    QTest::newRow("1 PM after 11 AM: icon 3 stays passed")
        << one << 3 << R << "1"
        << "Day" << elevenToday << false << "06/15/2026 11:00 AM" << 3 << "ENABLED";
    QTest::newRow("1 PM after 11 AM: icon 1 becomes passed")
        << one << 1 << R << "1"
        << "Day" << elevenToday << false << "06/15/2026 11:00 AM" << 3 << "ENABLED";
    QTest::newRow("January after December: icon 1 becomes passed")
        << january << 1 << S << " "
        << " " << december << false << "12/25/2026 10:00 AM" << 3 << "ENABLED";
    QTest::newRow("January after December: icon 3 stays passed")
        << january << 3 << S << " "
        << " " << december << false << "12/25/2026 10:00 AM" << 3 << "ENABLED";
    QTest::newRow("run in a later year unmarks passed")
        << december << 3 << S << " "
        << " " << january << false << "01/05/2027 09:00 AM" << 1 << "ENABLED";
    QTest::newRow("run in a later year, disabled")
        << december << 4 << S << " "
        << " " << january << false << "01/05/2027 09:00 AM" << 2 << "DISABLED";

    // With the check mark a passed routine run is re-based on the present.
    QTest::newRow("adjust day keeps the picked time of day")
        << nine << 3 << R << "1"
        << "Day" << yesterdayEight << true << "06/16/2026 08:00 AM" << 1 << "Enabled";
    QTest::newRow("adjust minute from the present minute")
        << nine << 3 << R << "15"
        << "Minute" << yesterdayEight << true << "06/15/2026 09:15 AM" << 1 << "Enabled";
    QTest::newRow("adjust hour, disabled passed")
        << nine << 4 << R << "2"
        << "HOUR" << yesterdayEight << true << "06/15/2026 11:00 AM" << 2 << "Disabled";
    QTest::newRow("adjust month") << nine << 1 << R << "1"
                                  << "Month" << yesterdayEight << true << "07/15/2026 08:00 AM" << 1
                                  << "ENABLED";
    QTest::newRow("adjust, January after December")
        << january << 3 << R << "1"
        << "Hour" << december << true << "01/05/2027 10:00 AM" << 1 << "Enabled";
    QTest::newRow("adjust, unknown unit keeps the run but unmarks")
        << nine << 3 << R << "1"
        << "Week" << yesterdayEight << true << old << 1 << "Enabled";
    // Nothing to adjust: the picked run is stored as without the check mark.
    QTest::newRow("adjust, run not passed: stored") << nine << 3 << R << "1"
                                                    << "Day" << At(QStringLiteral("06/20/2026 07:00 AM"))
                                                    << true << "06/20/2026 07:00 AM" << 1 << "ENABLED";
    QTest::newRow("adjust, specific: stored")
        << nine << 1 << S << " "
        << " " << yesterdayEight << true << "06/14/2026 08:00 AM" << 3 << "ENABLED";
}

void TestJobEdit::EditedRun()
{
    QFETCH(QDateTime, now);
    QFETCH(int, icon);
    QFETCH(ScheduleKind, kind);
    QFETCH(QString, valEvery);
    QFETCH(QString, valOfEvery);
    QFETCH(QDateTime, picked);
    QFETCH(bool, adjust);
    QFETCH(QString, nextRun);
    QFETCH(int, newIcon);
    QFETCH(QString, status);

    JobTable table;
    const QString oldStatus = icon == 2 || icon == 4 ? QStringLiteral("DISABLED") : QStringLiteral("ENABLED");
    const quint64 id = table.Append(
        OldRow(QStringLiteral("/srv/a"), RowIcon(icon), oldStatus, QStringLiteral("03/03/2026 03:00 AM")));

    QVERIFY(WriteEditedJob(table, id, Values(kind, valEvery, valOfEvery, WallClockTime::Of(picked), adjust),
                           now));
    const JobRow& row = table.Row(0);
    QCOMPARE(row.NextRun, nextRun);
    QCOMPARE(int(row.icon), newIcon);
    QCOMPARE(row.Status.Text(), status);
}

// A picked time that the clock skips that night is stored as picked; a step of hours from a
// repeated one lands an hour later on the wall clock.
void TestJobEdit::RunOnSummerTimeNights_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<bool>("edit");
    QTest::addColumn<ScheduleKind>("kind");
    QTest::addColumn<QString>("valOfEvery");
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("now");
    QTest::addColumn<bool>("adjust");
    QTest::addColumn<QString>("nextRun");

    struct Row
    {
        const char *name, *zone;
        bool edit;
        ScheduleKind kind;
        const char *valOfEvery, *picked, *now;
        bool adjust;
        const char* nextRun;
    };
    const auto R = ScheduleKind::Routine;
    // clang-format off
    const Row rows[] = {
        {"edit, skipped time, Berlin", "Europe/Berlin", true, R, "Day", "03/29/2026 02:30 AM", "03/20/2026 10:00 AM", false, "03/29/2026 02:30 AM"},
        {"new specific, skipped time, New York", "America/New_York", false, ScheduleKind::Specific, " ", "03/08/2026 02:30 AM", "03/01/2026 01:00 AM", false, "03/08/2026 02:30 AM"},
        {"adjust a day keeps a skipped time, Sydney", "Australia/Sydney", true, R, "Day", "10/04/2026 02:30 AM", "10/04/2026 09:00 AM", true, "10/05/2026 02:30 AM"},
        {"new hourly in the repeated hour, New York", "America/New_York", false, R, "Hour", "11/01/2026 12:00 AM", "11/01/2026 01:30 AM", false, "11/01/2026 02:30 AM"},
    };
    // clang-format on
    for (const Row& r : rows)
        QTest::newRow(r.name) << QByteArray(r.zone) << r.edit << r.kind << QString(r.valOfEvery)
                              << QString(r.picked) << QString(r.now) << r.adjust << QString(r.nextRun);
}

void TestJobEdit::RunOnSummerTimeNights()
{
    QFETCH(QByteArray, zone);
    QFETCH(bool, edit);
    QFETCH(ScheduleKind, kind);
    QFETCH(QString, valOfEvery);
    QFETCH(QString, picked);
    QFETCH(QString, now);
    QFETCH(bool, adjust);
    QFETCH(QString, nextRun);
    const auto restore = ScopedZone(zone);

    JobTable table;
    const quint64 id = table.Append(
        OldRow(QStringLiteral("/srv/a"), RowIcon::Enabled, QStringLiteral("Enabled"), QStringLiteral("")));
    const JobEditValues values =
        Values(kind, QStringLiteral("1"), valOfEvery, ParseFullForm(picked).value(), adjust);
    const QDateTime present = Instants(now).front();
    if (edit)
        QVERIFY(WriteEditedJob(table, id, values, present));
    else
        WriteNewJob(table, values, present);
    QCOMPARE(table.Rows().back().NextRun, nextRun);
}

void TestJobEdit::EditedFields_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("schedule");

    QTest::newRow("routine") << Kind(ScheduleKind::Routine) << QStringList{"Routine", "5", "Minute"};
    QTest::newRow("specific") << Kind(ScheduleKind::Specific) << QStringList{"Specific", " ", " "};
    QTest::newRow("neither keeps the old style") << Kind() << QStringList{"Weekly", "x", "Fortnight"};
}

void TestJobEdit::EditedFields()
{
    QFETCH(Kind, kind);
    QFETCH(QStringList, schedule);

    JobTable table;
    JobRow old = OldRow(QStringLiteral("/srv/a"), RowIcon::Running, QStringLiteral("Enabled"),
                        QStringLiteral("06/20/2026 10:00 AM"));
    old.Style = StoredWord<ScheduleKind>(QStringLiteral("Weekly"));
    old.ValEvery = QStringLiteral("x");
    old.ValOfEvery = StoredWord<TimeUnit>(QStringLiteral("Fortnight"));
    const quint64 id = table.Append(old);

    const QDateTime now = At(QStringLiteral("06/15/2026 10:00 AM"));
    QVERIFY(WriteEditedJob(
        table, id,
        Values(kind, QStringLiteral("5"), QStringLiteral("Minute"), WallClockTime::Of(now).AddDays(1), true),
        now));
    const JobRow& row = table.Row(0);
    QCOMPARE(row.id, id);
    QCOMPARE(row.FolderLoc, QStringLiteral("/srv/new"));
    QCOMPARE(row.Status.Text(), QStringLiteral("Enabled"));
    QCOMPARE(row.icon, RowIcon::Running);
    QCOMPARE(row.savedIcon, RowIcon::Enabled);
    QCOMPARE(row.ValPurge, QStringLiteral("30"));
    QCOMPARE(row.ValOfPurge.Text(), QStringLiteral("Hour"));
    QCOMPARE(row.Description, QStringLiteral("remark"));
    QCOMPARE(row.FileFolderStyle.Text(), QStringLiteral("Subfolders Only"));
    QCOMPARE((QStringList{row.Style.Text(), row.ValEvery, row.ValOfEvery.Text()}), schedule);
    QCOMPARE(row.NextRun, QStringLiteral("06/16/2026 10:00 AM"));
}

void TestJobEdit::EditFollowsTheRowItOpened()
{
    JobTable table;
    const QString run = QStringLiteral("06/20/2026 10:00 AM");
    table.Append(OldRow(QStringLiteral("/srv/a"), RowIcon::Enabled, QStringLiteral("Enabled"), run));
    const quint64 id =
        table.Append(OldRow(QStringLiteral("/srv/b"), RowIcon::Enabled, QStringLiteral("Enabled"), run));
    table.Append(OldRow(QStringLiteral("/srv/c"), RowIcon::Enabled, QStringLiteral("Enabled"), run));
    // The check timer retires the first row while the editor is open.
    table.Remove(0);

    const QDateTime now = At(QStringLiteral("06/15/2026 10:00 AM"));
    QVERIFY(WriteEditedJob(table, id,
                           Values(ScheduleKind::Specific, {}, {}, WallClockTime::Of(now).AddDays(1)), now));
    QCOMPARE(table.Row(0).FolderLoc, QStringLiteral("/srv/new"));
    QCOMPARE(table.Row(0).id, id);
    QCOMPARE(table.Row(1).FolderLoc, QStringLiteral("/srv/c"));
    QCOMPARE(table.Row(1).NextRun, run);
}

void TestJobEdit::EditOfARemovedRowWritesNothing()
{
    JobTable table;
    const QString run = QStringLiteral("06/20/2026 10:00 AM");
    const quint64 id =
        table.Append(OldRow(QStringLiteral("/srv/a"), RowIcon::Enabled, QStringLiteral("Enabled"), run));
    table.Append(OldRow(QStringLiteral("/srv/b"), RowIcon::Enabled, QStringLiteral("Enabled"), run));
    table.Remove(0);
    const JobRow before = table.Row(0);

    const QDateTime now = At(QStringLiteral("06/15/2026 10:00 AM"));
    QVERIFY(!WriteEditedJob(
        table, id,
        Values(ScheduleKind::Routine, QStringLiteral("1"), QStringLiteral("Day"), WallClockTime::Of(now)),
        now));
    QCOMPARE(table.Count(), 1);
    QCOMPARE(table.Row(0), before);
}

void TestJobEdit::FolderChecks()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("plain.txt"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();

    QVERIFY(FolderExists(dir.path()));
    QVERIFY(FolderExists(dir.path() + QLatin1Char('/')));
    QVERIFY(FolderExists(file));
    QVERIFY(!FolderExists(dir.filePath(QStringLiteral("missing"))));
    QVERIFY(!FolderExists(QString()));
    QVERIFY(!FolderExists(QStringLiteral(" ")));
    QVERIFY(!FolderExists(QStringLiteral(".")));

    JobTable table;
    table.Append(OldRow(QStringLiteral("/srv/Data"), RowIcon::Enabled, QStringLiteral("Enabled"), {}));
    QVERIFY(IsFolderInList(table, QStringLiteral("/srv/Data")));
    QVERIFY(!IsFolderInList(table, QStringLiteral("/srv/data")));
    QVERIFY(!IsFolderInList(table, QStringLiteral("/srv/Data/")));
}

// An edit that makes no trash choice keeps the row's, so a dialog without it never turns it
// off; a new job without one deletes.
void TestJobEdit::TrashChoice_data()
{
    QTest::addColumn<bool>("before");
    QTest::addColumn<std::optional<bool>>("choice");
    QTest::newRow("no choice keeps on") << true << std::optional<bool>();
    QTest::newRow("no choice keeps off") << false << std::optional<bool>();
    QTest::newRow("turned off") << true << std::optional(false);
    QTest::newRow("turned on") << false << std::optional(true);
}

void TestJobEdit::TrashChoice()
{
    QFETCH(bool, before);
    QFETCH(std::optional<bool>, choice);
    const QDateTime now(QDate(2026, 6, 15), QTime(9, 0));
    JobTable table;
    JobRow row = OldRow(QStringLiteral("/srv/a"), RowIcon::Enabled, QStringLiteral("Enabled"),
                        QStringLiteral("06/20/2026 07:00 AM"));
    row.MoveToTrash = before;
    const quint64 id = table.Append(row);
    JobEditValues values = Values(ScheduleKind::Routine, "1", "Day", WallClockTime::Of(now));
    values.moveToTrash = choice;
    QVERIFY(WriteEditedJob(table, id, values, now));
    QCOMPARE(table.Row(table.IndexOf(id)).MoveToTrash, choice.value_or(before));
    const quint64 added = WriteNewJob(table, values, now);
    QCOMPARE(table.Row(table.IndexOf(added)).MoveToTrash, choice.value_or(false));
}

QTEST_APPLESS_MAIN(TestJobEdit)
#include "tst_jobedit.moc"
