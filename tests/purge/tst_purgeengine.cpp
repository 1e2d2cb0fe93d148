// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/purgeengine.h"
#include "shared/bytetext.h"
#include "support/zone.h"
#include "tst_purgefixture.h"

#include <QDir>
#include <QScopeGuard>
#include <linux/fuse.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <utility>

namespace {

// What keeps a subfolder from going whole.
enum class Obstacle
{
    None,
    HiddenFile,
    HiddenFolderDeep,
    Fifo,
    Socket,
    UnreadableFolder,
    ProtectedFile,
    MountPoint
};

using Hook = std::function<void(const QByteArray& path, std::atomic_bool& stop)>;

struct Outcome
{
    qint64 count = 0;
    qint64 bytes = 0;
    bool sizesKnown = true;
    QList<QByteArray> deleted; // as reported, relative to the tree
};

Outcome Purge(const PurgeTree& tree, const PurgeRequest& request, const QDateTime& now = TestNow(),
              const Hook& hook = {})
{
    const MockClock clock(now);
    std::atomic_bool stop = false;
    const qsizetype prefix = tree.Path().size() + 1;
    Outcome outcome;
    const PurgeResult result = RunSchedule(request, clock, stop, [&](const QByteArray& path) {
        outcome.deleted.append(path.mid(prefix));
        if (hook)
            hook(path, stop);
    });
    outcome.count = result.count;
    outcome.bytes = result.bytes;
    outcome.sizesKnown = result.sizesKnown;
    return outcome;
}

QList<QByteArray> Sorted(QList<QByteArray> list)
{
    std::sort(list.begin(), list.end());
    return list;
}

// old.txt, new.txt, .hidden.txt; sub/ (old) with old.txt, new.txt, deep/old.txt; young/ (new)
// with old.txt; .hiddendir/ (old) with old.txt.
void BuildMixedTree(const PurgeTree& tree)
{
    tree.File("old.txt", OldDate());
    tree.File("new.txt", NewDate());
    tree.File(".hidden.txt", OldDate());
    tree.Folder("sub");
    tree.File("sub/old.txt", OldDate());
    tree.File("sub/new.txt", NewDate());
    tree.Folder("sub/deep");
    tree.File("sub/deep/old.txt", OldDate());
    tree.SetDate("sub/deep", OldDate());
    tree.SetDate("sub", OldDate());
    tree.Folder("young");
    tree.File("young/old.txt", OldDate());
    tree.SetDate("young", NewDate());
    tree.Folder(".hiddendir");
    tree.File(".hiddendir/old.txt", OldDate());
    tree.SetDate(".hiddendir", OldDate());
}

// a.txt, links old-link and new-link to it, a pipe; keeps/ (old) with old and .hidden;
// goes/ (old) with a link and inner/ (old) with a file of 5 bytes.
void BuildObstacleTree(const PurgeTree& tree)
{
    tree.File("a.txt", OldDate());
    tree.Link("old-link", "a.txt", OldDate());
    tree.Link("new-link", "a.txt", NewDate());
    QCOMPARE(::mkfifo(tree.Path("pipe").constData(), 0644), 0);
    tree.Folder("keeps");
    tree.File("keeps/old", OldDate());
    tree.File("keeps/.hidden", OldDate());
    tree.Folder("goes");
    tree.Link("goes/link", "../a.txt", OldDate());
    tree.Folder("goes/inner");
    tree.File("goes/inner/f", OldDate());
    QVERIFY(QFile(tree.Text("goes/inner/f")).resize(5));
    for (const QByteArray folder : {"goes/inner", "goes", "keeps"})
        tree.SetDate(folder, OldDate());
}

using TreeBuilder = void (*)(const PurgeTree&);

struct Decided
{
    PurgeResult result;
    QList<QByteArray> removed;              // relative to the tree
    std::map<QByteArray, ItemDecision> all; // paths relative to the tree, not kept in the decisions
};

Decided DryRun(const PurgeTree& tree, PurgeRequest request, const QDateTime& now)
{
    request.dryRun = true;
    const MockClock clock(now);
    const std::atomic_bool stop = false;
    const qsizetype prefix = tree.Path().size() + 1;
    Decided decided;
    decided.result = RunSchedule(request, clock, stop, {}, {}, [&](const ItemDecision& decision) {
        const QByteArray path = decision.path.toByteArray().mid(prefix);
        if (decision.Removes())
            decided.removed.append(path);
        decided.all[path] = decision;
        decided.all[path].path = {};
    });
    return decided;
}

// Three old files and three old subfolders of three old files each.
void BuildOldTree(const PurgeTree& tree)
{
    for (const QByteArray folder : {"a", "b", "c"}) {
        tree.File(folder + ".txt", OldDate());
        tree.Folder(folder);
        for (const QByteArray file : {"1", "2", "3"})
            tree.File(folder + '/' + file, OldDate());
        tree.SetDate(folder, OldDate());
    }
}

} // namespace

Q_DECLARE_METATYPE(Obstacle)
Q_DECLARE_METATYPE(TreeBuilder)
Q_DECLARE_METATYPE(PurgeItemKind)
Q_DECLARE_METATYPE(DecisionReason)

class TestPurgeEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void getValue_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<qint64>("days");
        QTest::addColumn<qint64>("hours");
        QTest::addColumn<qint64>("minutes");
        QTest::newRow("1d 2h 3m 4s") << qint64(93784) << qint64(1) << qint64(2) << qint64(3);
        QTest::newRow("minus 90 s") << qint64(-90) << qint64(0) << qint64(0) << qint64(-1);
        QTest::newRow("minus 1d 1h") << qint64(-90000) << qint64(-1) << qint64(-1) << qint64(0);
        QTest::newRow("beyond 32 bits") << qint64(86400) * 40000 << qint64(40000) << qint64(0) << qint64(0);
    }
    void getValue()
    {
        QFETCH(qint64, seconds);
        QFETCH(qint64, days);
        QFETCH(qint64, hours);
        QFETCH(qint64, minutes);
        qint64 dayIs = 0, hourIs = 0, minIs = 0;
        GetValue(seconds, dayIs, hourIs, minIs);
        QCOMPARE(dayIs, days);
        QCOMPARE(hourIs, hours);
        QCOMPARE(minIs, minutes);
    }

    // The age rule, and a file of that age in a real run: kept at a threshold of its age,
    // deleted at one unit less.
    void ageRule_data()
    {
        QTest::addColumn<QDateTime>("item");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<qint64>("age");
        const QDate day(2026, 3, 10);
        const QDateTime ten(day, QTime(10, 0));
        QTest::newRow("seconds dropped: 31 minutes")
            << QDateTime(day, QTime(10, 0, 59)) << QDateTime(day, QTime(10, 31)) << "Minute" << qint64(31);
        QTest::newRow("seconds dropped: 30 minutes")
            << QDateTime(day, QTime(10, 0, 59)) << QDateTime(day, QTime(10, 30, 59)) << "Minute"
            << qint64(30);
        QTest::newRow("1 day 2 hours in hours") << ten.addSecs(-26 * 3600) << ten << "Hour" << qint64(26);
        QTest::newRow("1 hour 5 minutes in minutes")
            << ten.addSecs(-65 * 60) << ten << "Minute" << qint64(65);
        QTest::newRow("59 days: 1 month") << ten.addDays(-59) << ten << "Month" << qint64(1);
        QTest::newRow("60 days: 2 months") << ten.addDays(-60) << ten << "Month" << qint64(2);
        QTest::newRow("29 days: 0 months") << ten.addDays(-29) << ten << "Month" << qint64(0);
        QTest::newRow("unit in any case") << ten.addDays(-3) << ten << "dAY" << qint64(3);
        QTest::newRow("future: negative") << ten.addSecs(5 * 60) << ten << "Minute" << qint64(-5);
        QTest::newRow("100 years in days")
            << QDateTime(day.addYears(-100), QTime(0, 0)) << QDateTime(day, QTime(12, 0)) << "Day"
            << qint64(day.addYears(-100).daysTo(day));
    }
    void ageRule()
    {
        QFETCH(QDateTime, item);
        QFETCH(QDateTime, now);
        QFETCH(QString, unit);
        QFETCH(qint64, age);
        CheckAge(item, unit, now, age);
    }

    // Ages are differences of local wall-clock times: across a change of summer time a day is
    // 24 hours, and 30 days are a month.
    void ageOnWallClock_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("now");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<qint64>("age");
        struct Row
        {
            const char *name, *zone, *item, *now, *unit;
            qint64 age;
        };
        // clang-format off
        const Row rows[] = {
            {"day over the skip, Berlin", "Europe/Berlin", "03/28/2026 12:00 PM", "03/29/2026 12:00 PM", "Day", 1},
            {"hours over the skip, Berlin", "Europe/Berlin", "03/28/2026 12:00 PM", "03/29/2026 12:00 PM", "Hour", 24},
            {"hours over the repeat, Berlin", "Europe/Berlin", "10/24/2026 12:00 PM", "10/25/2026 12:00 PM", "Hour", 24},
            {"month over the skip, Berlin", "Europe/Berlin", "03/10/2026 12:00 PM", "04/09/2026 12:00 PM", "Month", 1},
            {"minutes over the skip, New York", "America/New_York", "03/07/2026 06:00 PM", "03/08/2026 06:00 PM", "Minute", 1440},
            {"day over the skip, Sydney", "Australia/Sydney", "10/03/2026 09:00 PM", "10/04/2026 09:00 PM", "Day", 1},
            {"hours over the repeat, Sydney", "Australia/Sydney", "04/04/2026 09:00 PM", "04/05/2026 09:00 PM", "Hour", 24},
            {"minutes over the half-hour skip, Lord Howe", "Australia/Lord_Howe", "10/03/2026 11:00 PM", "10/04/2026 11:00 PM", "Minute", 1440},
            {"day over the skip at midnight, Havana", "America/Havana", "03/07/2026 12:00 PM", "03/08/2026 12:00 PM", "Day", 1},
        };
        // clang-format on
        for (const Row& r : rows)
            QTest::newRow(r.name) << QByteArray(r.zone) << QString(r.item) << QString(r.now)
                                  << QString(r.unit) << r.age;
    }
    void ageOnWallClock()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, item);
        QFETCH(QString, now);
        QFETCH(QString, unit);
        QFETCH(qint64, age);
        const auto restore = ScopedZone(zone);
        CheckAge(Instants(item).front(), unit, Instants(now).front(), age);
    }

    // Each style on one tree: a dry run reports what the run then deletes and changes nothing.
    void styles_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QList<QByteArray>>("deleted");
        QTest::newRow("Files Only") << "Files Only" << QList<QByteArray>{"old.txt"};
        QTest::newRow("Include Files in Subfolders")
            << "include files in subfolders"
            << QList<QByteArray>{"sub/deep/old.txt", "sub/old.txt", "young/old.txt"};
        QTest::newRow("Subfolders Only") << "SUBFOLDERS ONLY" << QList<QByteArray>{"sub"};
    }
    void styles()
    {
        QFETCH(QString, style);
        QFETCH(QList<QByteArray>, deleted);
        const PurgeTree tree;
        BuildMixedTree(tree);
        const QList<QByteArray> before = tree.Listing();

        PurgeRequest request = Request(style, tree.Text());
        request.dryRun = true;
        const Outcome dry = Purge(tree, request);
        QCOMPARE(Sorted(dry.deleted), deleted);
        QCOMPARE(dry.count, deleted.size());
        QCOMPARE(tree.Listing(), before);

        request.dryRun = false;
        const Outcome run = Purge(tree, request);
        QCOMPARE(Sorted(run.deleted), deleted);
        QCOMPARE(run.count, deleted.size());
        // A folder's own files go before the folders below it.
        QVERIFY(run.deleted.indexOf("sub/old.txt") <= run.deleted.indexOf("sub/deep/old.txt"));
        for (const QByteArray& line : before) {
            const QByteArray path = line.left(line.indexOf(' '));
            const bool gone = std::any_of(deleted.begin(), deleted.end(), [&](const QByteArray& item) {
                return path == item || path.startsWith(QByteArray(item + '/'));
            });
            QVERIFY2(tree.Exists(path) != gone, path.constData());
        }
    }

    // On each tree, for each style and date kind: the dry run's decisions to remove are what
    // the run then deletes on a copy of the tree, with the same exact totals, and the dry run
    // leaves every date as it was.
    void dryRunMatchesRun_data()
    {
        QTest::addColumn<TreeBuilder>("build");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("by");
        const std::pair<const char*, TreeBuilder> trees[] = {
            {"mixed", BuildMixedTree}, {"old", BuildOldTree}, {"obstacles", BuildObstacleTree}};
        for (const auto& [treeName, build] : trees) {
            for (const PurgeStyle style :
                 {PurgeStyle::FilesOnly, PurgeStyle::IncludeFilesInSubfolders, PurgeStyle::SubfoldersOnly}) {
                for (const DateKind by : {DateKind::Created, DateKind::LastModified, DateKind::LastAccessed})
                    QTest::addRow("%s, %s, %s", treeName, qPrintable(Spelling(style)),
                                  qPrintable(Spelling(by)))
                        << build << Spelling(style) << Spelling(by);
            }
        }
    }
    void dryRunMatchesRun()
    {
        QFETCH(TreeBuilder, build);
        QFETCH(QString, style);
        QFETCH(QString, by);
        // Birth dates cannot be set: by them, everything is made now and ages from then on.
        const QDateTime now =
            by == Spelling(DateKind::Created) ? QDateTime::currentDateTime().addDays(2) : TestNow();
        const PurgeTree dryTree;
        const PurgeTree tree;
        build(dryTree);
        build(tree);
        const QList<QByteArray> before = dryTree.Listing({}, PurgeTree::FolderAccess::Listed);

        const Decided dry = DryRun(dryTree, Request(style, dryTree.Text(), "1", "Day", by), now);
        QCOMPARE(dryTree.Listing({}, PurgeTree::FolderAccess::Listed), before);
        qint64 bytes = 0;
        for (const QByteArray& path : dry.removed)
            bytes += tree.Bytes(path);

        const Outcome run = Purge(tree, Request(style, tree.Text(), "1", "Day", by), now);
        QCOMPARE(Sorted(dry.removed), Sorted(run.deleted));
        QCOMPARE(dry.result.count, run.count);
        QCOMPARE(dry.result.files + dry.result.folders, dry.result.count);
        QCOMPARE(dry.result.bytes, bytes);
        QVERIFY(dry.result.sizesKnown);
        // A real run sizes a folder it removes whole only in a dry run: a status read per file
        // in it would slow the removal. Then it says it does not know its bytes.
        const bool foldersWent = dry.result.folders > 0 && style == Spelling(PurgeStyle::SubfoldersOnly);
        QCOMPARE(run.sizesKnown, !foldersWent);
        if (!foldersWent)
            QCOMPARE(run.bytes, bytes);
    }

    // Why each item stays or goes, with its kind, size and age (-1: no date read).
    void reasons_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<PurgeItemKind>("kind");
        QTest::addColumn<DecisionReason>("reason");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<qint64>("age");
        const auto row = [](const char* name, const char* style, const char* path, PurgeItemKind kind,
                            DecisionReason reason, qint64 size, qint64 age) {
            QTest::newRow(name) << style << QByteArray(path) << kind << reason << size << age;
        };
        using K = PurgeItemKind;
        using R = DecisionReason;
        const char* files = "Files Only";
        const char* below = "Include Files in Subfolders";
        const char* folders = "Subfolders Only";
        row("old file", files, "a.txt", K::File, R::OldEnough, 1, 10);
        row("new file", files, "new.txt", K::File, R::TooYoung, 1, 0);
        row("hidden file", files, ".hidden.txt", K::File, R::Hidden, 0, -1);
        row("program file", files, "ConfigDat.ini", K::File, R::Protected, 1, 10);
        row("old link", files, "old-link", K::Link, R::OldEnough, 5, 10);
        row("new link", files, "new-link", K::Link, R::TooYoung, 5, 0);
        row("pipe", files, "pipe", K::Other, R::NotRegular, 0, -1);
        row("file below", below, "keeps/old", K::File, R::OldEnough, 1, 10);
        row("link below", below, "goes/link", K::Link, R::OldEnough, 8, 10);
        row("hidden file below", below, "keeps/.hidden", K::File, R::Hidden, 0, -1);
        row("hidden folder", below, ".hiddendir", K::Folder, R::Hidden, 0, -1);
        row("old folder, sized", folders, "goes", K::Folder, R::OldEnough, 13, 10);
        row("folder holding a hidden file", folders, "keeps", K::Folder, R::HoldsKept, 0, 10);
        row("new folder", folders, "young", K::Folder, R::TooYoung, 0, 0);
        row("hidden folder whole", folders, ".hiddendir", K::Folder, R::Hidden, 0, -1);
    }
    void reasons()
    {
        QFETCH(QString, style);
        QFETCH(QByteArray, path);
        QFETCH(PurgeItemKind, kind);
        QFETCH(DecisionReason, reason);
        QFETCH(qint64, size);
        QFETCH(qint64, age);
        const PurgeTree tree;
        BuildObstacleTree(tree);
        tree.File("new.txt", NewDate());
        tree.File(".hidden.txt", OldDate());
        tree.File("ConfigDat.ini", OldDate());
        tree.Folder("young");
        tree.SetDate("young", NewDate());
        tree.Folder(".hiddendir");
        tree.SetDate(".hiddendir", OldDate());
        PurgeRequest request = Request(style, tree.Text());
        request.protectedPaths = ProtectedPaths(tree.Text(), tree.Text("bin"));

        const Decided dry = DryRun(tree, request, TestNow());
        QVERIFY2(dry.all.count(path) == 1, path.constData());
        const ItemDecision& decision = dry.all.at(path);
        QCOMPARE(decision.kind, kind);
        QCOMPARE(decision.reason, reason);
        QCOMPARE(decision.size, size);
        QCOMPARE(decision.date.has_value(), age >= 0);
        if (decision.date) {
            QCOMPARE(*decision.date, age == 0 ? NewDate() : OldDate());
            QCOMPARE(decision.age, age);
        }
    }

    void includeFilesWithoutSubfolders()
    {
        const PurgeTree tree;
        tree.File("old.txt", OldDate());
        QCOMPARE(Purge(tree, Request("Include Files in Subfolders", tree.Text())).count, 0);
        QVERIFY(tree.Exists("old.txt"));
    }

    // Birth times cannot be set: a file made now becomes old as the clock moves on.
    void dateKinds_data()
    {
        QTest::addColumn<QString>("by");
        QTest::addColumn<int>("daysLater");
        QTest::addColumn<int>("modifiedDaysAgo");
        QTest::addColumn<int>("accessedDaysAgo");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("created, 2 days on") << "Date: Created" << 2 << 0 << 0 << true;
        QTest::newRow("created, same day") << "Date: Created" << 0 << 10 << 10 << false;
        QTest::newRow("modified") << "Date: Last Modified" << 0 << 10 << 0 << true;
        QTest::newRow("modified, in any case") << "DATE: LAST MODIFIED" << 0 << 10 << 0 << true;
        QTest::newRow("modified, new") << "Date: Last Modified" << 0 << 0 << 10 << false;
        QTest::newRow("accessed") << "Date: Last Accessed" << 0 << 0 << 10 << true;
        QTest::newRow("accessed, new") << "Date: Last Accessed" << 0 << 10 << 0 << false;
        QTest::newRow("unknown date kind") << "Date: Whenever" << 20 << 10 << 10 << false;
    }
    void dateKinds()
    {
        QFETCH(QString, by);
        QFETCH(int, daysLater);
        QFETCH(int, modifiedDaysAgo);
        QFETCH(int, accessedDaysAgo);
        QFETCH(bool, deleted);
        const PurgeTree tree;
        const QDateTime made = QDateTime::currentDateTime();
        tree.File("item", 0);
        tree.SetDates("item", made.addDays(-accessedDaysAgo).toSecsSinceEpoch(),
                      made.addDays(-modifiedDaysAgo).toSecsSinceEpoch());
        // A date kind of no known word makes no request, so nothing goes.
        const std::optional<PurgeRequest> request =
            PurgeRequestOf(PurgeStyle::FilesOnly, tree.Text(), "1", "Day", by);
        const qint64 count = request ? Purge(tree, *request, made.addDays(daysLater).addSecs(60)).count : 0;
        QCOMPARE(count, deleted ? 1 : 0);
        QCOMPARE(tree.Exists("item"), !deleted);
    }

    void invalidSettings_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("unit");
        QTest::newRow("threshold no number") << "abc"
                                             << "Day";
        QTest::newRow("threshold negative") << "-1"
                                            << "Day";
        QTest::newRow("threshold empty") << ""
                                         << "Day";
        QTest::newRow("unknown unit") << "0"
                                      << "Fortnight";
    }
    void invalidSettings()
    {
        QFETCH(QString, value);
        QFETCH(QString, unit);
        const PurgeTree tree;
        BuildOldTree(tree);
        const QList<QByteArray> before = tree.Listing();
        for (const QString style : {"Files Only", "Include Files in Subfolders", "Subfolders Only"}) {
            QVERIFY(!PurgeRequestOf(ParseWord<PurgeStyle>(style).value(), tree.Text(), value, unit,
                                    "Date: Last Modified"));
            // Nor does a request made with such a threshold in hand.
            PurgeRequest negative = Request(style, tree.Text());
            negative.purgeVal = -1;
            QCOMPARE(Purge(tree, negative).count, 0);
        }
        QCOMPARE(tree.Listing(), before);
    }

    // Names are bytes: blanks, line breaks, markup characters and bytes that are no UTF-8.
    void awkwardNames()
    {
        const QList<QByteArray> names{"a b.txt", "line\nbreak",    "<tag>",
                                      "a&b",     "\xff\xfe bytes", "caf\xc3\xa9"};
        const PurgeTree tree;
        tree.Folder("\xff dir");
        for (const QByteArray& name : names) {
            tree.File(name, OldDate());
            tree.File("\xff dir/" + name, OldDate());
        }
        const Outcome files = Purge(tree, Request("Files Only", tree.Text()));
        QCOMPARE(files.count, names.size());
        QVERIFY(files.deleted.contains("a b.txt"));
        QVERIFY(files.deleted.contains("line\nbreak"));
        QVERIFY(files.deleted.contains("caf\xc3\xa9"));
        QVERIFY(files.deleted.contains("\xff\xfe bytes"));
        QCOMPARE(Purge(tree, Request("Include Files in Subfolders", tree.Text())).count, names.size());
        QCOMPARE(tree.Listing().size(), 1); // the folder alone
        QCOMPARE(::rmdir(tree.Path("\xff dir").constData()), 0);
    }

    // A job folder named in the old platform's code page is purged there and nowhere else: its
    // text stands for the bytes of its name. A NUL would cut the name short: nothing goes.
    void folderIsItsBytes()
    {
        const PurgeTree tree;
        const QList<QByteArray> folders{"caf\xE9", "caf\xC3\xA9", "caf\xEF\xBF\xBD", "caf?"};
        for (const QByteArray& folder : folders) {
            tree.Folder(folder);
            tree.File(folder + "/old.txt", OldDate());
        }
        const auto removeLatin1 = qScopeGuard([&] {
            (void)::unlink(tree.Path("caf\xE9/old.txt").constData());
            (void)::rmdir(tree.Path("caf\xE9").constData());
        });
        const QString folder = TextFromBytes(tree.Path(folders[0]));
        QVERIFY(!IsFileSystemRoot(folder));
        QCOMPARE(Purge(tree, Request("Files Only", folder)).count, 1);
        QVERIFY(!tree.Exists("caf\xE9/old.txt"));
        for (const QByteArray& other : folders.mid(1))
            QVERIFY(tree.Exists(other + "/old.txt"));
        QCOMPARE(Purge(tree, Request("Files Only", TextFromBytes(tree.Path("caf?")) + QChar(0) + "x")).count,
                 0);
        QVERIFY(tree.Exists("caf?/old.txt"));
    }

    // Read-only files in read-only folders go, as with the original's force flag; a folder
    // that stays gets its mode back.
    void readOnlyContent_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<int>("count");
        QTest::newRow("Files Only") << "Files Only" << 1;
        QTest::newRow("Include Files in Subfolders") << "Include Files in Subfolders" << 2;
        QTest::newRow("Subfolders Only") << "Subfolders Only" << 1;
    }
    void readOnlyContent()
    {
        QFETCH(QString, style);
        QFETCH(int, count);
        const PurgeTree tree;
        tree.Folder("job");
        tree.File("job/ro.txt", OldDate(), 0444);
        tree.Folder("job/sub");
        tree.File("job/sub/ro.txt", OldDate(), 0444);
        tree.Folder("job/sub/nested");
        tree.File("job/sub/nested/ro.txt", OldDate(), 0444);
        for (const QByteArray folder : {"job/sub/nested", "job/sub", "job"}) {
            QCOMPARE(::chmod(tree.Path(folder).constData(), 0555), 0);
            tree.SetDate(folder, OldDate());
        }
        const PurgeRequest request = Request(style, tree.Text("job"));
        QCOMPARE(RunUnprivileged(tree, [&] { return int(Purge(tree, request).count); }), count);
        struct stat st;
        QCOMPARE(::stat(tree.Path("job").constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0555));
        QCOMPARE(tree.Exists("job/ro.txt"), style != "Files Only");
        QCOMPARE(tree.Exists("job/sub"), style != "Subfolders Only");
        for (const QByteArray folder : {"job/sub/nested", "job/sub", "job"})
            ::chmod(tree.Path(folder).constData(), 0755);
    }

    // A folder the run may not read is kept, with its content, and the run goes on.
    void unreadableFolder_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<int>("count");
        QTest::newRow("Include Files in Subfolders") << "Include Files in Subfolders" << 2;
        QTest::newRow("Subfolders Only") << "Subfolders Only" << 1;
    }
    void unreadableFolder()
    {
        QFETCH(QString, style);
        QFETCH(int, count);
        const PurgeTree tree;
        tree.Folder("job");
        tree.Folder("job/open");
        tree.File("job/open/old.txt", OldDate());
        tree.Folder("job/sub");
        tree.File("job/sub/old.txt", OldDate());
        tree.Folder("job/sub/locked");
        tree.File("job/sub/locked/old.txt", OldDate());
        QCOMPARE(::chmod(tree.Path("job/sub/locked").constData(), 0), 0);
        for (const QByteArray folder : {"job/sub/locked", "job/sub", "job/open"})
            tree.SetDate(folder, OldDate());
        const PurgeRequest request = Request(style, tree.Text("job"));
        QCOMPARE(RunUnprivileged(tree, [&] { return int(Purge(tree, request).count); }), count);
        // Opened again first: a user who is not root cannot look inside.
        ::chmod(tree.Path("job/sub/locked").constData(), 0755);
        QVERIFY(tree.Exists("job/sub/locked/old.txt"));
        QVERIFY(!tree.Exists("job/open/old.txt"));
    }

    // A subfolder that cannot go whole is read through before anything in it is removed, and
    // left exactly as it was.
    void subfolderKeptWhole_data()
    {
        QTest::addColumn<Obstacle>("obstacle");
        QTest::newRow("all can go") << Obstacle::None;
        QTest::newRow("hidden file") << Obstacle::HiddenFile;
        QTest::newRow("hidden folder deep down") << Obstacle::HiddenFolderDeep;
        QTest::newRow("fifo") << Obstacle::Fifo;
        QTest::newRow("socket") << Obstacle::Socket;
        QTest::newRow("unreadable folder") << Obstacle::UnreadableFolder;
        QTest::newRow("protected file") << Obstacle::ProtectedFile;
        QTest::newRow("mount point") << Obstacle::MountPoint;
    }
    void subfolderKeptWhole()
    {
        QFETCH(Obstacle, obstacle);
        if (obstacle == Obstacle::MountPoint && !OwnMounts())
            QSKIP("mounting needs root and a mount namespace of our own");
        const PurgeTree tree;
        tree.Folder("keep");
        tree.File("keep/old.txt", OldDate());
        tree.Folder("keep/a");
        tree.File("keep/a/old.txt", OldDate());
        tree.Folder("keep/a/b");
        tree.File("keep/a/b/old.txt", OldDate());
        tree.File("keep/a/b/zzz.txt", OldDate());
        PurgeRequest request = Request("Subfolders Only", tree.Text());
        switch (obstacle) {
        case Obstacle::None:
            break;
        case Obstacle::HiddenFile:
            tree.File("keep/.hidden", OldDate());
            break;
        case Obstacle::HiddenFolderDeep:
            tree.Folder("keep/a/b/.git");
            tree.File("keep/a/b/.git/HEAD", OldDate());
            break;
        case Obstacle::Fifo:
            QCOMPARE(::mkfifo(tree.Path("keep/a/pipe").constData(), 0644), 0);
            break;
        case Obstacle::Socket: {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const QByteArray path = tree.Path("keep/a/b/socket");
            QVERIFY(size_t(path.size()) < sizeof address.sun_path);
            std::copy(path.begin(), path.end(), address.sun_path);
            const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            QCOMPARE(::bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
            ::close(socketFd);
            break;
        }
        case Obstacle::UnreadableFolder:
            tree.Folder("keep/a/locked");
            tree.File("keep/a/locked/old.txt", OldDate());
            QCOMPARE(::chmod(tree.Path("keep/a/locked").constData(), 0), 0);
            break;
        case Obstacle::ProtectedFile:
            tree.File("keep/a/b/ConfigDat.ini", OldDate());
            request.protectedPaths = ProtectedPaths(tree.Text("keep/a/b"), tree.Text("bin"));
            break;
        case Obstacle::MountPoint:
            tree.Folder("keep/a/mnt");
            QCOMPARE(::mount("none", tree.Path("keep/a/mnt").constData(), "tmpfs", 0, nullptr), 0);
            tree.File("keep/a/mnt/old.txt", OldDate());
            break;
        }
        const auto cleanUp = qScopeGuard([&] {
            ::umount2(tree.Path("keep/a/mnt").constData(), MNT_DETACH);
            ::chmod(tree.Path("keep/a/locked").constData(), 0755);
        });
        for (const QByteArray folder : {"keep/a/b", "keep/a", "keep"})
            tree.SetDate(folder, OldDate());
        const QList<QByteArray> before = tree.Listing("keep");

        const int count = obstacle == Obstacle::UnreadableFolder
                              ? RunUnprivileged(tree, [&] { return int(Purge(tree, request).count); })
                              : int(Purge(tree, request).count);
        if (obstacle == Obstacle::None) {
            QCOMPARE(count, 1);
            QVERIFY(!tree.Exists("keep"));
        } else {
            QCOMPARE(count, 0);
            QCOMPARE(tree.Listing("keep"), before);
        }
    }

    // A job folder reached through a link is purged only where no other user could have
    // planted the link: a link in a folder of an unprivileged user leads only to that user's
    // folders. A refused job folder deletes nothing.
    void plantedLinks_data()
    {
        QTest::addColumn<QByteArray>("job");
        QTest::addColumn<QByteArray>("purged");
        QTest::newRow("job swapped for a link into a folder of root")
            << QByteArray("u1/swapped") << QByteArray();
        QTest::newRow("folder above swapped") << QByteArray("u1/above/job") << QByteArray();
        QTest::newRow("link into a folder of another user") << QByteArray("u1/other") << QByteArray();
        QTest::newRow("link loop") << QByteArray("u1/loop") << QByteArray();
        QTest::newRow("owner's own link") << QByteArray("u1/own") << QByteArray("u1/real");
        QTest::newRow("owner's own relative link") << QByteArray("u1/ownrelative") << QByteArray("u1/real");
        QTest::newRow("link in a folder of root") << QByteArray("rootlinks/tou2") << QByteArray("u2/real");
        QTest::newRow("a link of root, then one of the owner")
            << QByteArray("rootlinks/tou1/own") << QByteArray("u1/real");
    }
    void plantedLinks()
    {
        QFETCH(QByteArray, job);
        QFETCH(QByteArray, purged);
        if (::geteuid() != 0)
            QSKIP("handing folders to other users needs root");
        const PurgeTree tree;
        for (const QByteArray folder :
             {"rootdir", "rootdir/job", "u1", "u1/real", "u2", "u2/real", "rootlinks"})
            tree.Folder(folder);
        for (const QByteArray folder : {"rootdir", "rootdir/job", "u1/real", "u2/real"})
            tree.File(folder + "/old.txt", OldDate());
        tree.Link("u1/swapped", tree.Path("rootdir"), OldDate());
        tree.Link("u1/above", "../rootdir", OldDate());
        tree.Link("u1/other", "../u2/real", OldDate());
        tree.Link("u1/loop", "loop2", OldDate());
        tree.Link("u1/loop2", "loop", OldDate());
        tree.Link("u1/own", tree.Path("u1/real"), OldDate());
        tree.Link("u1/ownrelative", "real", OldDate());
        tree.Link("rootlinks/tou2", "../u2/real", OldDate());
        tree.Link("rootlinks/tou1", "../u1", OldDate());
        tree.Chown("u1", 65534);
        tree.Chown("u2", 65533);
        // Reading a link dates it; the folders that hold files are compared.
        const QList<QByteArray> folders{"rootdir", "u1/real", "u2/real"};
        QList<QList<QByteArray>> before;
        for (const QByteArray& folder : folders)
            before.append(tree.Listing(folder));

        const Outcome outcome = Purge(tree, Request("Files Only", tree.Text(job)));
        if (purged.isEmpty()) {
            QCOMPARE(outcome.count, 0);
            for (qsizetype i = 0; i < folders.size(); ++i)
                QCOMPARE(tree.Listing(folders[i]), before[i]);
        } else {
            QCOMPARE(outcome.deleted, QList<QByteArray>{job + "/old.txt"});
            QVERIFY(!tree.Exists(purged + "/old.txt"));
        }
    }

    // Reading folders leaves their access dates, in dry runs and in runs that keep them.
    void accessDatesKept_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<bool>("dryRun");
        QTest::newRow("Include Files in Subfolders, dry run") << "Include Files in Subfolders" << true;
        QTest::newRow("Include Files in Subfolders") << "Include Files in Subfolders" << false;
        QTest::newRow("Subfolders Only, dry run") << "Subfolders Only" << true;
        QTest::newRow("Subfolders Only, subfolder kept") << "Subfolders Only" << false;
    }
    void accessDatesKept()
    {
        QFETCH(QString, style);
        QFETCH(bool, dryRun);
        const PurgeTree tree;
        tree.Folder("probe");
        tree.SetDate("probe", OldDate());
        if (DIR* dir = ::opendir(tree.Path("probe").constData())) {
            while (::readdir(dir) != nullptr) {
            }
            ::closedir(dir);
        }
        if (tree.Accessed("probe") == OldDate())
            QSKIP("this file system does not date the reading of a folder");
        tree.Folder("job");
        tree.Folder("job/sub");
        tree.File("job/sub/new.txt", NewDate());
        tree.File("job/sub/.hidden", OldDate());
        for (const QByteArray folder : {"job/sub", "job"})
            tree.SetDate(folder, OldDate());
        PurgeRequest request = Request(style, tree.Text("job"));
        request.dryRun = dryRun;
        Purge(tree, request);
        QVERIFY(tree.Exists("job/sub"));
        QCOMPARE(tree.Accessed("job/sub"), OldDate());
        QCOMPARE(tree.Accessed("job"), OldDate());
    }

    // Folders of another user are read without asking to keep their access dates, which
    // only their owner may ask.
    void foldersOfAnotherUser()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to make a tree of another user");
        const PurgeTree tree;
        tree.Folder("job");
        tree.File("job/old.txt", OldDate(), 0666);
        for (const QByteArray& folder : {QByteArray(), QByteArray("job")})
            QCOMPARE(::chmod(tree.Path(folder).constData(), 0777), 0);
        const PurgeRequest request = Request("Files Only", tree.Text("job"));
        QCOMPARE(RunUnprivileged(
                     tree, [&] { return int(Purge(tree, request).count); }, Handover::Nothing),
                 1);
        QVERIFY(!tree.Exists("job/old.txt"));
    }

    // Trees deeper than the folders a walk holds open: every level is reached, each walk
    // gives back every descriptor it took.
    void deepTree_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<int>("count");
        QTest::newRow("Include Files in Subfolders") << "Include Files in Subfolders" << 300;
        QTest::newRow("Subfolders Only") << "Subfolders Only" << 1;
    }
    void deepTree()
    {
        QFETCH(QString, style);
        QFETCH(int, count);
        const PurgeTree tree;
        tree.Folder("job");
        tree.Chain("job", 300, "old.txt");
        const int descriptors = OpenDescriptors();
        QCOMPARE(Purge(tree, Request(style, tree.Text("job"))).count, count);
        QCOMPARE(OpenDescriptors(), descriptors);
        const QList<QByteArray> left = tree.Listing("job");
        QVERIFY2(std::none_of(left.begin(), left.end(),
                              [](const QByteArray& line) { return line.contains(".txt"); }),
                 left.isEmpty() ? "" : left.last().constData());
    }

    // A folder moved elsewhere while a walk below it had closed it: the walk cannot come back
    // to it through "..", and stops rather than take the new parent for it.
    void folderMovedWhileClosed()
    {
        const PurgeTree tree;
        tree.Folder("job");
        tree.File("job/young.txt", NewDate());
        tree.Folder("job/top");
        const QByteArray deepest = tree.Chain("job/top", 60, "old.txt");
        tree.SetDate("job/top", OldDate());
        const QByteArray deepFile = deepest.left(QByteArray("job/top").size() + 50 * 2) + "/old.txt";
        const MockClock clock(TestNow());
        const std::atomic_bool stop = false;
        bool moved = false;
        const int descriptors = OpenDescriptors();
        const qint64 count = RunSchedule(Request("Subfolders Only", tree.Text("job")), clock, stop, {}, [&] {
                                 if (!moved && !tree.Exists(deepFile)) {
                                     moved = true;
                                     QCOMPARE(::rename(tree.Path("job/top/d/d").constData(),
                                                       tree.Path("job/moved").constData()),
                                              0);
                                 }
                             }).count;
        QVERIFY(moved);
        QCOMPARE(count, 0);
        QVERIFY(tree.Exists("job/young.txt"));
        QVERIFY(tree.Exists("job/top/d"));
        QCOMPARE(OpenDescriptors(), descriptors);
    }

    // Links are items by their own dates; no run reaches what they point at.
    void links_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QList<QByteArray>>("deleted");
        QTest::newRow("Files Only") << "Files Only" << QList<QByteArray>{"job/dirlink", "job/filelink"};
        QTest::newRow("Include Files in Subfolders")
            << "Include Files in Subfolders"
            << QList<QByteArray>{"job/sub/dirlink", "job/sub/filelink", "job/sub/old.txt"};
        QTest::newRow("Subfolders Only") << "Subfolders Only" << QList<QByteArray>{"job/sub"};
    }
    void links()
    {
        QFETCH(QString, style);
        QFETCH(QList<QByteArray>, deleted);
        const PurgeTree tree;
        tree.Folder("outside");
        tree.File("outside/out.txt", OldDate());
        tree.Folder("outside/inner");
        tree.File("outside/inner/out.txt", OldDate());
        tree.SetDate("outside/inner", OldDate());
        tree.SetDate("outside", OldDate());
        tree.Folder("job");
        tree.Link("job/dirlink", tree.Path("outside"), OldDate());
        tree.Link("job/filelink", "../outside/out.txt", OldDate());
        tree.Link("job/newlink", "../outside/out.txt", NewDate());
        tree.Folder("job/sub");
        tree.File("job/sub/old.txt", OldDate());
        tree.Link("job/sub/dirlink", "../../outside", OldDate());
        tree.Link("job/sub/filelink", "../../outside/out.txt", OldDate());
        tree.SetDate("job/sub", OldDate());
        const QList<QByteArray> outside = tree.Listing("outside");

        const Outcome outcome = Purge(tree, Request(style, tree.Text("job")));
        QCOMPARE(Sorted(outcome.deleted), deleted);
        QCOMPARE(tree.Listing("outside"), outside);
        QVERIFY(tree.Exists("job/newlink"));
    }

    // Folders swapped for links to another place while the run is under way.
    void folderSwappedForLink_data()
    {
        QTest::addColumn<QString>("style");
        QTest::newRow("Include Files in Subfolders") << "Include Files in Subfolders";
        QTest::newRow("Subfolders Only") << "Subfolders Only";
    }
    void folderSwappedForLink()
    {
        QFETCH(QString, style);
        const PurgeTree tree;
        tree.Folder("outside");
        tree.File("outside/out.txt", OldDate());
        tree.Folder("outside/inner");
        tree.File("outside/inner/out.txt", OldDate());
        tree.SetDate("outside/inner", OldDate());
        tree.SetDate("outside", OldDate());
        tree.Folder("job");
        const QList<QByteArray> folders{"a", "b", "c"};
        for (const QByteArray& folder : folders) {
            tree.Folder("job/" + folder);
            tree.File("job/" + folder + "/old.txt", OldDate());
            tree.SetDate("job/" + folder, OldDate());
        }
        const QList<QByteArray> outside = tree.Listing("outside");

        bool swapped = false;
        const Outcome outcome = Purge(tree, Request(style, tree.Text("job")), TestNow(),
                                      [&](const QByteArray& path, std::atomic_bool&) {
                                          if (std::exchange(swapped, true))
                                              return;
                                          for (const QByteArray& folder : folders) {
                                              const QByteArray relative = "job/" + folder;
                                              if (path == tree.Path(relative) ||
                                                  path.startsWith(QByteArray(tree.Path(relative) + '/')))
                                                  continue;
                                              QCOMPARE(::rename(tree.Path(relative).constData(),
                                                                tree.Path("moved-" + folder).constData()),
                                                       0);
                                              tree.Link(relative, tree.Path("outside"), OldDate());
                                          }
                                      });
        QVERIFY(swapped);
        QCOMPARE(outcome.count, 1);
        QCOMPARE(tree.Listing("outside"), outside);
    }

    // A mount point inside the job folder is left alone, also inside a folder that would go
    // whole; a bind mount of the same file system too. Nothing in a mount changes, not even
    // the dates of its root.
    void mountPoints_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<bool>("bind");
        QTest::addColumn<bool>("openAt2");
        QTest::addColumn<int>("count");
        for (const bool openAt2 : {true, false}) {
            for (const bool bind : {false, true}) {
                const char* kind = bind ? "bind mount" : "other file system";
                const char* kernel = openAt2 ? "" : ", without openat2";
                for (const auto& [style, count] :
                     {std::pair("Files Only", 1), {"Include Files in Subfolders", 1}, {"Subfolders Only", 0}})
                    QTest::addRow("%s, %s%s", style, kind, kernel)
                        << QString(style) << bind << openAt2 << count;
            }
        }
    }
    void mountPoints()
    {
        QFETCH(QString, style);
        QFETCH(bool, bind);
        QFETCH(bool, openAt2);
        QFETCH(int, count);
        if (!OwnMounts())
            QSKIP("mounting needs root and a mount namespace of our own");
        const PurgeTree tree;
        tree.Folder("source1");
        tree.Folder("source2");
        tree.Folder("job");
        tree.Folder("job/old");
        tree.Folder("job/old/mnt");
        tree.Folder("job/mnt");
        int source = 0;
        for (const QByteArray target : {"job/old/mnt", "job/mnt"}) {
            const QByteArray sourcePath = tree.Path("source" + QByteArray::number(++source));
            const int result = bind ? ::mount(sourcePath.constData(), tree.Path(target).constData(), nullptr,
                                              MS_BIND, nullptr)
                                    : ::mount("none", tree.Path(target).constData(), "tmpfs", 0, nullptr);
            QCOMPARE(result, 0);
        }
        const auto unmount = qScopeGuard([&] {
            for (const QByteArray target : {"job/old/mnt", "job/mnt"})
                ::umount2(tree.Path(target).constData(), MNT_DETACH);
        });
        for (const QByteArray target : {"job/old/mnt", "job/mnt"}) {
            tree.Folder(target + "/inner");
            tree.File(target + "/inner/old.txt", OldDate());
            tree.File(target + "/old.txt", OldDate());
            tree.SetDate(target + "/inner", OldDate());
            tree.SetDate(target, OldDate());
        }
        tree.File("job/old/old.txt", OldDate());
        tree.File("job/old.txt", OldDate());
        tree.SetDate("job/old", OldDate());
        QList<QList<QByteArray>> before;
        QList<qint64> accessed;
        for (const QByteArray target : {"job/old/mnt", "job/mnt"}) {
            before.append(tree.Listing(target));
            accessed.append(tree.Accessed(target));
        }

        const auto purge = [&] { return int(Purge(tree, Request(style, tree.Text("job"))).count); };
        QCOMPARE(openAt2 ? purge() : RunWithoutOpenAt2(purge), count);
        int mount = 0;
        for (const QByteArray target : {"job/old/mnt", "job/mnt"}) {
            QCOMPARE(tree.Listing(target), before[mount]);
            QCOMPARE(tree.Accessed(target), accessed[mount++]);
        }
    }

    // A mount whose file system never answers (a FUSE server that reads but never replies)
    // holds no run: no style sends it a single request.
    void unansweredMount()
    {
        if (!OwnMounts())
            QSKIP("mounting needs root and a mount namespace of our own");
        const int fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
        if (fuse < 0)
            QSKIP("no /dev/fuse");
        const auto closeFuse = qScopeGuard([&] { ::close(fuse); });
        const PurgeTree tree;
        tree.Folder("job");
        tree.File("job/old.txt", OldDate());
        tree.Folder("job/sub");
        tree.File("job/sub/old.txt", OldDate());
        tree.Folder("job/sub/hung");
        tree.Folder("job/hung");
        for (const QByteArray folder : {"job/sub", "job/hung", "job/sub/hung"})
            tree.SetDate(folder, OldDate());
        const QByteArray options = "fd=" + QByteArray::number(fuse) + ",rootmode=40000,user_id=0,group_id=0";
        for (const QByteArray folder : {"job/hung", "job/sub/hung"}) {
            if (::mount("test", tree.Path(folder).constData(), "fuse", 0, options.constData()) != 0)
                QSKIP("no FUSE file system");
        }
        const auto unmount = qScopeGuard([&] {
            for (const QByteArray folder : {"job/hung", "job/sub/hung"})
                ::umount2(tree.Path(folder).constData(), MNT_DETACH);
        });
        // Answer the kernel's greeting (both mounts share the connection), so that later calls
        // reach the server.
        QByteArray request(FUSE_MIN_READ_BUFFER + 128 * 1024, '\0');
        QVERIFY(::read(fuse, request.data(), size_t(request.size())) >= qsizetype(sizeof(fuse_in_header)));
        const auto* header = reinterpret_cast<const fuse_in_header*>(request.constData());
        QCOMPARE(header->opcode, quint32(FUSE_INIT));
        struct
        {
            fuse_out_header header;
            fuse_init_out init;
        } reply{};
        reply.header = {sizeof reply, 0, header->unique};
        reply.init.major = FUSE_KERNEL_VERSION;
        reply.init.minor = FUSE_KERNEL_MINOR_VERSION;
        reply.init.max_write = 4096;
        QCOMPARE(::write(fuse, &reply, sizeof reply), ssize_t(sizeof reply));

        const pid_t child = ::fork();
        if (child == 0) {
            for (const QString style : {"Files Only", "Include Files in Subfolders", "Subfolders Only"}) {
                const MockClock clock(TestNow());
                const std::atomic_bool stop = false;
                RunSchedule(Request(style, tree.Text("job")), clock, stop);
            }
            ::_exit(0);
        }
        QVERIFY(child > 0);
        const int childFd = int(::syscall(SYS_pidfd_open, child, 0));
        QVERIFY(childFd >= 0);
        pollfd waits[2] = {{fuse, POLLIN, 0}, {childFd, POLLIN, 0}};
        QVERIFY(::poll(waits, 2, -1) > 0);
        ::close(childFd);
        quint32 opcode = 0;
        if (waits[0].revents & POLLIN) {
            if (::read(fuse, request.data(), size_t(request.size())) >= qsizetype(sizeof(fuse_in_header)))
                opcode = header->opcode;
            // Ends the connection: the run's call fails and the child ends.
            ::umount2(tree.Path("job/hung").constData(), MNT_FORCE | MNT_DETACH);
            ::umount2(tree.Path("job/sub/hung").constData(), MNT_FORCE | MNT_DETACH);
            ::kill(child, SIGKILL);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QCOMPARE(opcode, quint32(0));
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(!tree.Exists("job/old.txt"));
    }

    // The program's own files are passed over; a folder that holds them cannot go.
    void programFolder_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QByteArray>("job");
        QTest::addColumn<QList<QByteArray>>("deleted");
        QTest::newRow("Files Only in it")
            << "Files Only" << QByteArray("job/prog") << QList<QByteArray>{"other.txt"};
        QTest::newRow("Files Only in the executable folder")
            << "Files Only" << QByteArray("job/bin") << QList<QByteArray>{"other.txt"};
        QTest::newRow("Include Files in Subfolders above it")
            << "Include Files in Subfolders" << QByteArray("job")
            << QList<QByteArray>{"bin/other.txt", "plain/old.txt"};
        QTest::newRow("Subfolders Only above it")
            << "Subfolders Only" << QByteArray("job") << QList<QByteArray>{"plain"};
        QTest::newRow("Subfolders Only two above it")
            << "Subfolders Only" << QByteArray() << QList<QByteArray>{};
    }
    void programFolder()
    {
        QFETCH(QString, style);
        QFETCH(QByteArray, job);
        QFETCH(QList<QByteArray>, deleted);
        const PurgeTree tree;
        tree.Folder("job");
        tree.Folder("job/plain");
        tree.File("job/plain/old.txt", OldDate());
        tree.Folder("job/prog");
        const QList<QByteArray> shipped{"scourwell", "quillon", "scourwell-help.html"};
        const QList<QByteArray> own =
            QList<QByteArray>{"ConfigDat.ini", "quillon.ini",         "statdump.tmp",
                              "windows.ini",   "quillon-windows.ini", "Logs/week.htm"} +
            shipped;
        tree.Folder("job/prog/Logs");
        for (const QByteArray& file : own)
            tree.File("job/prog/" + file, OldDate());
        tree.File("job/prog/other.txt", OldDate());
        tree.Folder("job/bin");
        for (const QByteArray& file : shipped + QList<QByteArray>{"other.txt"})
            tree.File("job/bin/" + file, OldDate());
        for (const QByteArray folder : {"job/prog/Logs", "job/prog", "job/bin", "job/plain", "job"})
            tree.SetDate(folder, OldDate());

        PurgeRequest request = Request(style, tree.Text(job));
        request.protectedPaths = ProtectedPaths(tree.Text("job/prog"), tree.Text("job/bin"));
        const Outcome outcome = Purge(tree, request);
        const QByteArray prefix = job.isEmpty() ? QByteArray() : job + '/';
        QList<QByteArray> reported;
        for (const QByteArray& path : outcome.deleted)
            reported.append(path.mid(prefix.size()));
        QCOMPARE(Sorted(reported), deleted);
        for (const QByteArray& file : own)
            QVERIFY2(tree.Exists("job/prog/" + file), file.constData());
        for (const QByteArray& file : shipped)
            QVERIFY2(tree.Exists("job/bin/" + file), file.constData());
    }

    void rootRefused()
    {
        const PurgeTree tree;
        tree.Link("rootlink", "/", OldDate());
        QVERIFY(IsFileSystemRoot("/"));
        QVERIFY(IsFileSystemRoot(tree.Text("rootlink")));
        QVERIFY(!IsFileSystemRoot(tree.Text()));
        // A dry run that stops at once: even a failing refusal changes nothing.
        for (const QString& folder : {QString("/"), QString("//"), tree.Text("rootlink")}) {
            PurgeRequest request = Request("Include Files in Subfolders", folder, "0", "Minute");
            request.dryRun = true;
            const Outcome outcome = Purge(tree, request, TestNow().addYears(100),
                                          [](const QByteArray&, std::atomic_bool& stop) { stop = true; });
            QCOMPARE(outcome.count, 0);
        }
    }

    void stopFlag_data()
    {
        QTest::addColumn<QString>("style");
        QTest::newRow("Files Only") << "Files Only";
        QTest::newRow("Include Files in Subfolders") << "Include Files in Subfolders";
        QTest::newRow("Subfolders Only") << "Subfolders Only";
    }
    void stopFlag()
    {
        QFETCH(QString, style);
        const PurgeTree tree;
        BuildOldTree(tree);
        const QList<QByteArray> before = tree.Listing();
        const MockClock clock(TestNow());
        const std::atomic_bool stopped = true;
        QCOMPARE(RunSchedule(Request(style, tree.Text()), clock, stopped).count, 0);
        QCOMPARE(tree.Listing(), before);

        const auto stopAfterOne = [](const QByteArray&, std::atomic_bool& stop) { stop = true; };
        QCOMPARE(Purge(tree, Request(style, tree.Text()), TestNow(), stopAfterOne).count, 1);
    }

    void vanishingJobFolder()
    {
        const PurgeTree tree;
        for (const QString style : {"Files Only", "Include Files in Subfolders", "Subfolders Only"})
            QCOMPARE(Purge(tree, Request(style, tree.Text("missing"))).count, 0);

        BuildOldTree(tree);
        const auto removeAll = [&](const QByteArray&, std::atomic_bool&) {
            QDir(tree.Text()).removeRecursively();
        };
        QCOMPARE(Purge(tree, Request("Include Files in Subfolders", tree.Text()), TestNow(), removeAll).count,
                 1);
    }

    // Sockets, pipes and devices are never deleted; a folder holding one cannot go whole.
    void specialFiles()
    {
        const PurgeTree tree;
        QCOMPARE(::mkfifo(tree.Path("pipe").constData(), 0644), 0);
        tree.SetDate("pipe", OldDate());
        tree.Folder("sub");
        QCOMPARE(::mkfifo(tree.Path("sub/pipe").constData(), 0644), 0);
        tree.File("sub/old.txt", OldDate());
        tree.SetDate("sub/pipe", OldDate());
        tree.SetDate("sub", OldDate());
        QCOMPARE(Purge(tree, Request("Files Only", tree.Text())).count, 0);
        QCOMPARE(Purge(tree, Request("Subfolders Only", tree.Text())).count, 0);
        QVERIFY(tree.Exists("pipe"));
        QVERIFY(tree.Exists("sub/pipe"));
    }

    // The original's count stopped at 32767.
    void countBeyond16Bits()
    {
        const PurgeTree tree{PurgeTree::InMemory()};
        tree.Folder("sub");
        constexpr int Files = 33000;
        for (int i = 0; i < Files; ++i)
            ::close(::open(tree.Path("sub/" + QByteArray::number(i)).constData(), O_CREAT | O_WRONLY, 0644));
        const MockClock clock(QDateTime::currentDateTime().addDays(2));
        const std::atomic_bool stop = false;
        QCOMPARE(RunSchedule(Request("Include Files in Subfolders", tree.Text()), clock, stop).count, Files);
        QCOMPARE(tree.Listing().size(), 1);
    }

private:
    void CheckAge(const QDateTime& item, const QString& unit, const QDateTime& now, qint64 age)
    {
        QCOMPARE(GetObjectAge(item, ParseWord<TimeUnit>(unit).value(), now), age);
        for (qint64 threshold = std::max<qint64>(age, 0); threshold >= std::max<qint64>(age - 1, 0);
             --threshold) {
            const PurgeTree tree;
            tree.File("item", item.toSecsSinceEpoch());
            const Outcome outcome =
                Purge(tree, Request("Files Only", tree.Text(), QString::number(threshold), unit), now);
            const bool deleted = age > threshold;
            QCOMPARE(outcome.count, deleted ? 1 : 0);
            QCOMPARE(tree.Exists("item"), !deleted);
        }
    }
};

QTEST_APPLESS_MAIN(TestPurgeEngine)
#include "tst_purgeengine.moc"
