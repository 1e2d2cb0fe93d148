// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/purgeengine.h"
#include "purge/trash.h"
#include "support/purgetestfiles.h"
#include "tst_purgefixture.h"

#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <csignal>
#include <sys/mount.h>

namespace {

// Where the job folder lies: beside the home trash, or on a file system of its own whose top
// has a .Trash of this kind.
enum class Place
{
    Home,
    StickyTrash,  // .Trash sticky: .Trash/$uid
    PlainTrash,   // .Trash not sticky: .Trash-$uid
    LinkedTrash,  // .Trash a link to a sticky folder: .Trash-$uid
    NoTrash,      // .Trash-$uid
    UnusableTrash // the home trash's files is a file: nothing can move
};

// What the trash holds already under the item's name.
enum class Taken
{
    Nothing,
    Both,     // an item and its .trashinfo
    InfoOnly, // a .trashinfo left by another program
    FileOnly  // an item without one
};

const QByteArray Uid = QByteArray::number(::geteuid());
const QByteArray DeletionDate = "2026-03-10T12:00:00";

struct Removed
{
    QByteArray path;
    QByteArray trashPath;
};

// A home for the trash (XDG_DATA_HOME) and a job folder, on the same file system or, mounted
// in a namespace of the test's own, on another.
class TrashSetting
{
public:
    TrashSetting(Place place, bool ownMounts)
    {
        m_tree.Folder("data");
        qputenv("XDG_DATA_HOME", m_tree.Path("data"));
        if (place == Place::Home || place == Place::UnusableTrash) {
            m_jobRelative = "job";
        } else {
            QVERIFY(ownMounts);
            m_tree.Folder("mnt");
            QCOMPARE(::mount("none", m_tree.Path("mnt").constData(), "tmpfs", 0, nullptr), 0);
            m_mounted = true;
            m_jobRelative = "mnt/job";
        }
        m_tree.Folder(m_jobRelative);
        switch (place) {
        case Place::Home:
        case Place::NoTrash:
            break;
        case Place::UnusableTrash:
            m_tree.Folder("data/Trash");
            m_tree.Folder("data/Trash/info");
            m_tree.File("data/Trash/files", OldDate());
            break;
        case Place::StickyTrash:
            MakeShared("mnt/.Trash");
            break;
        case Place::PlainTrash:
            m_tree.Folder("mnt/.Trash");
            QCOMPARE(::chmod(m_tree.Path("mnt/.Trash").constData(), 0777), 0);
            break;
        case Place::LinkedTrash:
            MakeShared("mnt/shared");
            m_tree.Link("mnt/.Trash", "shared", OldDate());
            break;
        }
    }
    ~TrashSetting()
    {
        if (m_mounted)
            ::umount2(m_tree.Path("mnt").constData(), MNT_DETACH);
    }

    const PurgeTree& Tree() const { return m_tree; }
    QByteArray Job(const QByteArray& name = {}) const
    {
        return name.isEmpty() ? m_jobRelative : m_jobRelative + '/' + name;
    }

    // The trash folder the place should use, relative to the tree.
    static QByteArray TrashOf(Place place)
    {
        switch (place) {
        case Place::Home:
        case Place::UnusableTrash:
            return "data/Trash";
        case Place::StickyTrash:
            return "mnt/.Trash/" + Uid;
        case Place::PlainTrash:
        case Place::LinkedTrash:
        case Place::NoTrash:
            break;
        }
        return "mnt/.Trash-" + Uid;
    }

    // The Path a .trashinfo should hold for name in the job folder, encoded as expected.
    QByteArray InfoPath(Place place, const QByteArray& encodedName) const
    {
        return place == Place::Home ? m_tree.Path(Job(encodedName)) : "job/" + encodedName;
    }

    // Runs the job in trash mode; onDecision may change the tree before an item goes.
    PurgeResult Run(PurgeStyle style, QList<Removed>* removed = nullptr,
                    const std::function<void(const ItemDecision&)>& onDecision = {}) const
    {
        PurgeRequest request = Request("Files Only", m_tree.Text(Job()));
        request.style = style;
        request.removal = Removal::MoveToTrash;
        const MockClock clock(TestNow());
        const std::atomic_bool stop = false;
        return RunSchedule(request, clock, stop, {}, {}, onDecision, [&](const RemovedItem& item) {
            if (removed)
                removed->append({item.decision.path.toByteArray(), item.trashPath.toByteArray()});
        });
    }

private:
    void MakeShared(const QByteArray& relative)
    {
        m_tree.Folder(relative);
        QCOMPARE(::chmod(m_tree.Path(relative).constData(), 01777), 0);
    }

    PurgeTree m_tree;
    QByteArray m_jobRelative;
    bool m_mounted = false;
};

// The content of a file named by its bytes, which need not be UTF-8.
QByteArray Content(const QByteArray& path)
{
    QFile file;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return "<missing>";
    return file.readAll();
}

bool IsLink(const QByteArray& path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

} // namespace

Q_DECLARE_METATYPE(Place)
Q_DECLARE_METATYPE(Taken)
Q_DECLARE_METATYPE(PurgeStyle)

class TestTrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The name an item takes in a trash, and the encoded Path that desktops read back.
    void names_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("attempt");
        QTest::addColumn<QByteArray>("trashName");
        QTest::newRow("own name") << QByteArray("a.txt") << 0 << QByteArray("a.txt");
        QTest::newRow("number before the extension") << QByteArray("a.txt") << 1 << QByteArray("a.2.txt");
        QTest::newRow("no extension") << QByteArray("notes") << 2 << QByteArray("notes.3");
        QTest::newRow("a dot only in front") << QByteArray(".profile") << 1 << QByteArray(".profile.2");
        QTest::newRow("long name cut for .trashinfo") << QByteArray(255, 'n') << 0 << QByteArray(245, 'n');
        QTest::newRow("long name with number")
            << QByteArray(250, 'n') + ".tar" << 1 << QByteArray(239, 'n') + ".2.tar";
    }
    void names()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, attempt);
        QFETCH(QByteArray, trashName);
        QCOMPARE(TrashName(name, attempt), trashName);
    }

    // A .trashinfo read back gives the bytes of the path, whatever they are; a Path that is no
    // percent-encoding is none.
    void infoRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::newRow("plain") << QByteArray("/home/u/a.txt");
        QTest::newRow("space, percent, newline") << QByteArray("/x/a b%c\nd");
        QTest::newRow("not UTF-8") << QByteArray("/x/\xff\xfe");
        QTest::newRow("equals and brackets") << QByteArray("rel/[a]=b");
    }
    void infoRoundTrip()
    {
        QFETCH(QByteArray, path);
        const QDateTime date(QDate(2026, 3, 10), QTime(12, 0));
        const std::optional<TrashInfo> info = ParseTrashInfo(TrashInfoText(path, date));
        QVERIFY(info);
        QCOMPARE(info->path, path);
        QCOMPARE(info->deletionDate, date);
        QVERIFY(!ParseTrashInfo("[Trash Info]\nPath=/a%2\nDeletionDate=2026-03-10T12:00:00\n"));
        QVERIFY(!ParseTrashInfo("[Other]\nPath=/a\n"));
    }

    // Each item goes to the trash of its file system with its .trashinfo; nothing else of the
    // tree changes, and the record names where it went.
    void moves_data()
    {
        QTest::addColumn<Place>("place");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("encoded"); // the name as Path= holds it
        QTest::addColumn<Taken>("taken");
        QTest::addColumn<QByteArray>("trashName");
        const QByteArray plain = "old.txt";
        QTest::newRow("home") << Place::Home << plain << plain << Taken::Nothing << plain;
        QTest::newRow("home, space") << Place::Home << QByteArray("an old file")
                                     << QByteArray("an%20old%20file") << Taken::Nothing
                                     << QByteArray("an old file");
        QTest::newRow("home, percent") << Place::Home << QByteArray("100%.txt") << QByteArray("100%25.txt")
                                       << Taken::Nothing << QByteArray("100%.txt");
        QTest::newRow("home, not UTF-8")
            << Place::Home << QByteArray("\xff\xfe.txt") << QByteArray("%FF%FE.txt") << Taken::Nothing
            << QByteArray("\xff\xfe.txt");
        QTest::newRow("home, line break") << Place::Home << QByteArray("a\nb") << QByteArray("a%0Ab")
                                          << Taken::Nothing << QByteArray("a\nb");
        QTest::newRow("home, name taken")
            << Place::Home << plain << plain << Taken::Both << QByteArray("old.2.txt");
        QTest::newRow("home, stray .trashinfo")
            << Place::Home << plain << plain << Taken::InfoOnly << QByteArray("old.2.txt");
        QTest::newRow("home, stray item")
            << Place::Home << plain << plain << Taken::FileOnly << QByteArray("old.2.txt");
        QTest::newRow("sticky .Trash") << Place::StickyTrash << plain << plain << Taken::Nothing << plain;
        QTest::newRow(".Trash not sticky") << Place::PlainTrash << plain << plain << Taken::Nothing << plain;
        QTest::newRow(".Trash a link") << Place::LinkedTrash << plain << plain << Taken::Nothing << plain;
        QTest::newRow("no .Trash, space") << Place::NoTrash << QByteArray("a b") << QByteArray("a%20b")
                                          << Taken::Nothing << QByteArray("a b");
        QTest::newRow("no .Trash, name taken")
            << Place::NoTrash << plain << plain << Taken::Both << QByteArray("old.2.txt");
    }
    void moves()
    {
        QFETCH(Place, place);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, encoded);
        QFETCH(Taken, taken);
        QFETCH(QByteArray, trashName);
        if (place != Place::Home && !OwnMounts())
            QSKIP("no file system of the test's own can be mounted here");
        const TrashSetting setting(place, OwnMounts());
        const PurgeTree& tree = setting.Tree();
        tree.File(setting.Job(name), OldDate());
        tree.File(setting.Job("new.txt"), NewDate());
        const QByteArray trash = TrashSetting::TrashOf(place);
        const QByteArray takenInfo = "[Trash Info]\nPath=/elsewhere\nDeletionDate=2020-01-01T00:00:00\n";
        if (taken != Taken::Nothing) {
            for (const QByteArray& part : QByteArrayList{trash.left(trash.lastIndexOf('/')), trash,
                                                         trash + "/files", trash + "/info"}) {
                if (!tree.Exists(part))
                    tree.Folder(part);
            }
            if (taken != Taken::InfoOnly)
                tree.Folder(trash + "/files/" + name);
            if (taken != Taken::FileOnly) {
                QFile info(tree.Text(trash + "/info/" + name + ".trashinfo"));
                QVERIFY(info.open(QIODevice::WriteOnly));
                info.write(takenInfo);
            }
        }
        const QByteArray moved = trash + "/files/" + trashName;
        const QByteArray movedInfo = trash + "/info/" + trashName + ".trashinfo";
        // QTemporaryDir cannot remove a name that is no UTF-8.
        const auto cleanUp = qScopeGuard([&] {
            ::unlink(tree.Path(moved).constData());
            ::unlink(tree.Path(movedInfo).constData());
        });
        QList<Removed> removed;
        const PurgeResult result = setting.Run(PurgeStyle::FilesOnly, &removed);
        QCOMPARE(result.count, 1);
        QVERIFY(!tree.Exists(setting.Job(name)));
        QVERIFY(tree.Exists(setting.Job("new.txt")));
        QCOMPARE(Content(tree.Path(moved)), QByteArray("x"));
        QCOMPARE(Content(tree.Path(movedInfo)), "[Trash Info]\nPath=" + setting.InfoPath(place, encoded) +
                                                    "\nDeletionDate=" + DeletionDate + '\n');
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed[0].path, tree.Path(setting.Job(name)));
        QCOMPARE(removed[0].trashPath, tree.Path(moved));
        // What was there stays as it was.
        if (taken == Taken::Both || taken == Taken::InfoOnly)
            QCOMPARE(Content(tree.Path(trash + "/info/" + name + ".trashinfo")), takenInfo);
        if (place == Place::LinkedTrash)
            QCOMPARE(tree.Listing("mnt/shared"), QList<QByteArray>());
    }

    // A Subfolders Only folder goes whole in one rename, with what it holds; a folder that
    // holds something that stays, stays.
    void movesSubfolderWhole_data()
    {
        QTest::addColumn<Place>("place");
        QTest::newRow("home") << Place::Home;
        QTest::newRow("other file system") << Place::NoTrash;
    }
    void movesSubfolderWhole()
    {
        QFETCH(Place, place);
        if (place != Place::Home && !OwnMounts())
            QSKIP("no file system of the test's own can be mounted here");
        const TrashSetting setting(place, OwnMounts());
        const PurgeTree& tree = setting.Tree();
        tree.Folder(setting.Job("old"));
        tree.Folder(setting.Job("old/deep"));
        tree.File(setting.Job("old/deep/new.txt"), NewDate());
        tree.Folder(setting.Job("keep"));
        tree.File(setting.Job("keep/.hidden"), OldDate());
        for (const QByteArray folder : {"old/deep", "old", "keep"})
            tree.SetDate(setting.Job(folder), OldDate());
        const PurgeResult result = setting.Run(PurgeStyle::SubfoldersOnly);
        QCOMPARE(result.count, 1);
        QCOMPARE(result.folders, 1);
        QVERIFY(!tree.Exists(setting.Job("old")));
        QVERIFY(tree.Exists(setting.Job("keep/.hidden")));
        const QByteArray trash = TrashSetting::TrashOf(place);
        QCOMPARE(Content(tree.Path(trash + "/files/old/deep/new.txt")), QByteArray("x"));
        QVERIFY(ParseTrashInfo(Content(tree.Path(trash + "/info/old.trashinfo"))));
    }

    // An item that cannot be moved stays where it is, is not counted and leaves no .trashinfo;
    // a dry run moves nothing and makes no trash.
    void keepsWhatCannotMove_data()
    {
        QTest::addColumn<bool>("unprivileged"); // the trash's files folder is read-only
        QTest::addColumn<bool>("dryRun");
        QTest::newRow("files folder a file") << false << false;
        QTest::newRow("files folder read-only") << true << false;
        QTest::newRow("dry run") << false << true;
    }
    void keepsWhatCannotMove()
    {
        QFETCH(bool, unprivileged);
        QFETCH(bool, dryRun);
        const TrashSetting setting(unprivileged || dryRun ? Place::Home : Place::UnusableTrash, false);
        const PurgeTree& tree = setting.Tree();
        tree.File(setting.Job("old.txt"), OldDate());
        if (unprivileged) {
            for (const QByteArray folder : {"data/Trash", "data/Trash/files", "data/Trash/info"})
                tree.Folder(folder);
        }
        const auto run = [&] {
            PurgeRequest request = Request("Files Only", tree.Text(setting.Job()));
            request.removal = Removal::MoveToTrash;
            request.dryRun = dryRun;
            const MockClock clock(TestNow());
            const std::atomic_bool stop = false;
            return int(RunSchedule(request, clock, stop).count);
        };
        const int count = unprivileged
                              ? RunUnprivileged(tree,
                                                [&] {
                                                    ::chmod(tree.Path("data/Trash/files").constData(), 0500);
                                                    return run();
                                                })
                              : run();
        QCOMPARE(count, dryRun ? 1 : 0);
        QVERIFY(tree.Exists(setting.Job("old.txt")));
        if (dryRun)
            QVERIFY(!tree.Exists("data/Trash"));
        else
            QCOMPARE(tree.Listing("data/Trash/info"), QList<QByteArray>());
    }

    // A trash run on a folder above the home trash leaves the trash and its items where they
    // are, and its dry run says so.
    void trashStaysOut_data()
    {
        QTest::addColumn<PurgeStyle>("style");
        QTest::addColumn<bool>("dryRun");
        QTest::newRow("files in subfolders") << PurgeStyle::IncludeFilesInSubfolders << false;
        QTest::newRow("files in subfolders, dry run") << PurgeStyle::IncludeFilesInSubfolders << true;
        QTest::newRow("subfolders") << PurgeStyle::SubfoldersOnly << false;
        QTest::newRow("subfolders, dry run") << PurgeStyle::SubfoldersOnly << true;
    }
    void trashStaysOut()
    {
        QFETCH(PurgeStyle, style);
        QFETCH(bool, dryRun);
        const TrashSetting setting(Place::Home, false);
        const PurgeTree& tree = setting.Tree();
        for (const QByteArray folder : {"data/Trash", "data/Trash/files", "data/Trash/info"})
            tree.Folder(folder);
        tree.File("data/Trash/files/old.txt", OldDate());
        tree.File("data/Trash/info/old.txt.trashinfo", OldDate());
        for (const QByteArray folder : {"data/Trash/files", "data/Trash/info", "data/Trash"})
            tree.SetDate(folder, OldDate());
        const QList<QByteArray> before = tree.Listing("data");
        PurgeRequest request = Request("Files Only", tree.Text("data"));
        request.style = style;
        request.removal = Removal::MoveToTrash;
        request.dryRun = dryRun;
        const MockClock clock(TestNow());
        const std::atomic_bool stop = false;
        QCOMPARE(RunSchedule(request, clock, stop).count, 0);
        QCOMPARE(tree.Listing("data"), before);
    }

    // An item swapped for a link between its decision and its move: the link goes to the trash
    // as it is, and what it pointed to stays untouched.
    void linkSwappedIn()
    {
        const TrashSetting setting(Place::Home, false);
        const PurgeTree& tree = setting.Tree();
        tree.File(setting.Job("old.txt"), OldDate());
        tree.File("target.txt", OldDate());
        const PurgeResult result =
            setting.Run(PurgeStyle::FilesOnly, nullptr, [&](const ItemDecision& decision) {
                if (decision.Removes()) {
                    QCOMPARE(::unlink(decision.path.toByteArray().constData()), 0);
                    QCOMPARE(::symlink(tree.Path("target.txt").constData(),
                                       decision.path.toByteArray().constData()),
                             0);
                }
            });
        QCOMPARE(result.count, 1);
        QVERIFY(IsLink(tree.Path("data/Trash/files/old.txt")));
        QCOMPARE(Content(tree.Path("target.txt")), QByteArray("x"));
    }

    // Other tools read back what a trash run wrote: the true path of each item, also from a
    // trash at the top of another file system. GIO reads the trash through GVfs, which a
    // session bus of the test's own starts.
    void otherToolsReadIt_data()
    {
        QTest::addColumn<QStringList>("tools"); // skipped without them
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QByteArray>("before"); // what the listing shows before the path
        QTest::addColumn<Place>("place");
        const QStringList trashList{"trash-list"};
        const QStringList gioTools{"dbus-run-session", "gio"};
        const QStringList gio{"dbus-run-session", "--", "gio", "list", "-a", "trash::orig-path", "trash:///"};
        QTest::newRow("trash-list") << trashList << trashList << QByteArray(" ") << Place::Home;
        QTest::newRow("trash-list, .Trash-$uid")
            << trashList << trashList << QByteArray(" ") << Place::NoTrash;
        QTest::newRow("trash-list, .Trash/$uid")
            << trashList << trashList << QByteArray(" ") << Place::StickyTrash;
        QTest::newRow("gio") << gioTools << gio << QByteArray("trash::orig-path=") << Place::Home;
    }
    void otherToolsReadIt()
    {
        QFETCH(QStringList, tools);
        QFETCH(QStringList, command);
        QFETCH(QByteArray, before);
        QFETCH(Place, place);
        for (const QString& tool : tools) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP("a tool is not installed");
        }
        if (place != Place::Home && !OwnMounts())
            QSKIP("no file system of the test's own can be mounted here");
        const TrashSetting setting(place, OwnMounts());
        const PurgeTree& tree = setting.Tree();
        const QByteArray name = "an old 100% file";
        tree.File(setting.Job(name), OldDate());
        QCOMPARE(setting.Run(PurgeStyle::FilesOnly).count, 1);
        QProcess process;
        process.start(command.first(), command.mid(1));
        QVERIFY(process.waitForFinished());
        const QByteArray listing = process.readAllStandardOutput();
        if (command.contains("gio") && process.exitCode() != 0)
            QSKIP("GIO reads no trash here (no GVfs)");
        QCOMPARE(process.exitCode(), 0);
        QVERIFY2(listing.contains(QByteArray(before + tree.Path(setting.Job(name)) + '\n')),
                 listing.constData());
    }

    // A trash run killed midway leaves each item in place or in the trash with a .trashinfo
    // that names it.
    void killedMidway()
    {
#ifdef SCOURWELL_EXECUTABLE
        constexpr int Files = 5000;
        const TrashSetting setting(Place::Home, false);
        const PurgeTree& tree = setting.Tree();
        QList<QByteArray> names;
        for (int i = 0; i < Files; ++i) {
            names.append("an old file with a long name to fill the output, number " + QByteArray::number(i));
            tree.File(setting.Job(names.last()), OldDate());
        }
        QProcess process;
        process.start(SCOURWELL_EXECUTABLE,
                      {"--purge", tree.Text(setting.Job()), "--older-than", "1", "Day", "--trash"});
        // It stops at a full output pipe, midway, until the kill.
        QVERIFY(process.waitForReadyRead());
        QCOMPARE(::kill(process.processId(), SIGKILL), 0);
        QVERIFY(process.waitForFinished());
        int moved = 0;
        for (const QByteArray& name : names) {
            if (tree.Exists(setting.Job(name)))
                continue;
            ++moved;
            QVERIFY2(tree.Exists("data/Trash/files/" + name), name.constData());
            const std::optional<TrashInfo> info =
                ParseTrashInfo(Content(tree.Path("data/Trash/info/" + name + ".trashinfo")));
            QVERIFY(info);
            QCOMPARE(info->path, tree.Path(setting.Job(name)));
        }
        QVERIFY(moved > 0 && moved < Files);
#else
        QSKIP("built without the program");
#endif
    }
};

QTEST_APPLESS_MAIN(TestTrash)
#include "tst_trash.moc"
