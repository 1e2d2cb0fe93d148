// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/runrecord.h"
#include "purge/trash.h"
#include "purge/trashrestore.h"
#include "tst_purgefixture.h"

#include <sys/mount.h>

namespace {

// What happens between the trash run and its undo.
enum class Change
{
    None,
    PlaceTaken,    // a new item where the item was
    GoneFromTrash, // the item emptied from the trash by hand
    InfoGone,      // its .trashinfo removed
    InfoElsewhere, // its .trashinfo names another place
    ParentGone,    // the folder it was in removed
    LinkForParent  // that folder replaced by a link to another folder
};

// Where the job folder is: beside the home trash, or on a file system of its own.
enum class Place
{
    Home,
    OwnTrash,   // $top/.Trash-$uid
    StickyTrash // $top/.Trash/$uid
};

const QByteArray Uid = QByteArray::number(::geteuid());

struct Stamp
{
    timespec accessed;
    timespec modified;
    friend bool operator==(const Stamp& a, const Stamp& b)
    {
        return a.accessed.tv_sec == b.accessed.tv_sec && a.accessed.tv_nsec == b.accessed.tv_nsec &&
               a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec;
    }
};

// Dates down to the nanosecond, which only a move keeps.
const Stamp ItemStamp{{OldDate() - 7200, 123456789}, {OldDate(), 987654321}};

Stamp StampOf(const QByteArray& path)
{
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return {};
    return {st.st_atim, st.st_mtim};
}

void SetStamp(const QByteArray& path, const Stamp& stamp)
{
    const timespec times[2] = {stamp.accessed, stamp.modified};
    QCOMPARE(::utimensat(AT_FDCWD, path.constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

bool Exists(const QByteArray& path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

// By the path's bytes, which need not be UTF-8.
QByteArray Content(const QByteArray& path)
{
    QFile file;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return "<missing>";
    return file.readAll();
}

void Write(const QByteArray& path, const QByteArray& content)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
    ::close(fd);
}

QStringList Names(const QByteArray& folder)
{
    return QDir(QFile::decodeName(folder))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

// A home for the trash (XDG_DATA_HOME), a program folder for the record and a job folder,
// beside the home trash or on a tmpfs of its own.
class UndoSetting
{
public:
    explicit UndoSetting(Place place)
    {
        m_tree.Folder("data");
        m_tree.Folder("program");
        m_tree.Folder("elsewhere");
        qputenv("XDG_DATA_HOME", m_tree.Path("data"));
        m_tree.Folder("top");
        m_trash = "data/Trash";
        if (place != Place::Home) {
            QCOMPARE(::mount("none", m_tree.Path("top").constData(), "tmpfs", 0, nullptr), 0);
            m_mounted = true;
            m_trash = "top/.Trash-" + Uid;
        }
        if (place == Place::StickyTrash) {
            m_tree.Folder("top/.Trash");
            QCOMPARE(::chmod(m_tree.Path("top/.Trash").constData(), 01777), 0);
            m_trash = "top/.Trash/" + Uid;
        }
        m_tree.Folder("top/job");
    }
    ~UndoSetting()
    {
        if (m_mounted)
            ::umount2(m_tree.Path("top").constData(), MNT_DETACH);
    }

    const PurgeTree& Tree() const { return m_tree; }
    QByteArray Job(const QByteArray& relative = {}) const
    {
        return m_tree.Path(relative.isEmpty() ? QByteArray("top/job") : QByteArray("top/job/" + relative));
    }
    QByteArray Trash(const QByteArray& part) const { return m_tree.Path(QByteArray(m_trash + '/' + part)); }

    // An old file with content and the item stamp.
    void OldFile(const QByteArray& relative, const QByteArray& content) const
    {
        Write(Job(relative), content);
        SetStamp(Job(relative), ItemStamp);
    }

    // Moves what the style takes to the trash, recording it, and reads the record back.
    RunRecord TrashRun(const QString& style) const
    {
        PurgeRequest request = Request(style, QFile::decodeName(Job()));
        request.removal = Removal::MoveToTrash;
        const MockClock clock(TestNow());
        const std::atomic_bool stop = false;
        RunRecordWriter writer(m_tree.Text("program"), request.folder, style, request.removal, TestNow());
        writer.Finish(RunSchedule(request, clock, stop, {}, {}, {},
                                  [&](const RemovedItem& item) { writer.Add(item); }));
        std::optional<RunRecord> record = ReadRunRecord(writer.File());
        return record.value_or(RunRecord{});
    }

private:
    PurgeTree m_tree;
    QByteArray m_trash;
    bool m_mounted = false;
};

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Place)
Q_DECLARE_METATYPE(RestoreOutcome)

class TestTrashRestore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One item of a trash run, and what became of it before the undo: it is back, byte for
    // byte and with its dates, or it stays in the trash and nothing else changes.
    void restores_data()
    {
        QTest::addColumn<Place>("place");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<Change>("change");
        QTest::addColumn<RestoreOutcome>("outcome");

        const QString files = QStringLiteral("Files Only");
        const QString below = QStringLiteral("Include Files in Subfolders");
        const QString folders = QStringLiteral("Subfolders Only");
        const QByteArray file = "a.txt";
        const QByteArray inSub = "sub/a.txt";
        using O = RestoreOutcome;
        QTest::newRow("file") << Place::Home << files << file << Change::None << O::Restored;
        QTest::newRow("name needing encoding")
            << Place::Home << files << QByteArray("b c%\xff\n.txt") << Change::None << O::Restored;
        QTest::newRow("file in a subfolder") << Place::Home << below << inSub << Change::None << O::Restored;
        QTest::newRow("folder whole")
            << Place::Home << folders << QByteArray("sub") << Change::None << O::Restored;
        QTest::newRow("place taken") << Place::Home << files << file << Change::PlaceTaken << O::PlaceTaken;
        QTest::newRow("place of a folder taken")
            << Place::Home << folders << QByteArray("sub") << Change::PlaceTaken << O::PlaceTaken;
        QTest::newRow("gone from the trash")
            << Place::Home << files << file << Change::GoneFromTrash << O::GoneFromTrash;
        QTest::newRow("trash entry without its info")
            << Place::Home << files << file << Change::InfoGone << O::GoneFromTrash;
        QTest::newRow("info naming another place")
            << Place::Home << files << file << Change::InfoElsewhere << O::GoneFromTrash;
        QTest::newRow("folder it was in gone")
            << Place::Home << below << inSub << Change::ParentGone << O::ParentMissing;
        QTest::newRow("link where its folder was")
            << Place::Home << below << inSub << Change::LinkForParent << O::ParentMissing;
        QTest::newRow("other file system, .Trash-uid")
            << Place::OwnTrash << below << inSub << Change::None << O::Restored;
        QTest::newRow("other file system, .Trash/uid")
            << Place::StickyTrash << files << file << Change::None << O::Restored;
        QTest::newRow("other file system, place taken")
            << Place::OwnTrash << files << file << Change::PlaceTaken << O::PlaceTaken;
    }
    void restores()
    {
        QFETCH(Place, place);
        QFETCH(QString, style);
        QFETCH(QByteArray, item);
        QFETCH(Change, change);
        QFETCH(RestoreOutcome, outcome);
        if (place != Place::Home && !OwnMounts())
            QSKIP("mounting needs root");

        const UndoSetting setting(place);
        const bool folder = item == "sub";
        const QByteArray file = folder ? QByteArray(item + "/inner") : item;
        if (item.contains('/') || folder)
            setting.Tree().Folder("top/job/sub");
        setting.OldFile(file, "content of " + item);
        if (folder)
            SetStamp(setting.Job(item), ItemStamp);

        const RunRecord record = setting.TrashRun(style);
        QCOMPARE(record.items.size(), size_t(1));
        QVERIFY(!Exists(setting.Job(item)));
        const QByteArray trashName = item.sliced(item.lastIndexOf('/') + 1);
        const QByteArray inTrash = setting.Trash("files/" + trashName);
        const QByteArray info = setting.Trash("info/" + trashName + ".trashinfo");
        QCOMPARE(record.items[0].trashPath, inTrash);

        switch (change) {
        case Change::None:
            break;
        case Change::PlaceTaken:
            if (folder)
                QCOMPARE(::mkdir(setting.Job(item).constData(), 0755), 0);
            else
                Write(setting.Job(item), "taken");
            break;
        case Change::GoneFromTrash:
            QCOMPARE(::unlink(inTrash.constData()), 0);
            break;
        case Change::InfoGone:
            QCOMPARE(::unlink(info.constData()), 0);
            break;
        case Change::InfoElsewhere:
            QCOMPARE(::unlink(info.constData()), 0);
            Write(info, TrashInfoText(setting.Job("other.txt"), TestNow()));
            break;
        case Change::ParentGone:
            QCOMPARE(::rmdir(setting.Job("sub").constData()), 0);
            break;
        case Change::LinkForParent:
            QCOMPARE(::rmdir(setting.Job("sub").constData()), 0);
            QCOMPARE(::symlink(setting.Tree().Path("elsewhere").constData(), setting.Job("sub").constData()),
                     0);
            break;
        }
        const QList<QByteArray> jobBefore = setting.Tree().Listing("top/job");
        const QStringList trashBefore = Names(setting.Trash("files")) + Names(setting.Trash("info"));

        const std::atomic_bool stop = false;
        const RestoreResult result = RestoreFromTrash(record, stop);
        QCOMPARE(result.items.size(), size_t(1));
        QCOMPARE(result.items[0].outcome, outcome);
        QCOMPARE(result.items[0].path, setting.Job(item));
        QCOMPARE(result.restored, qint64(outcome == RestoreOutcome::Restored ? 1 : 0));
        QVERIFY(!result.stopped);
        QVERIFY(Names(setting.Tree().Path("elsewhere")).isEmpty());
        if (outcome != RestoreOutcome::Restored) {
            QCOMPARE(setting.Tree().Listing("top/job"), jobBefore);
            QCOMPARE(Names(setting.Trash("files")) + Names(setting.Trash("info")), trashBefore);
            return;
        }
        // The dates first: reading the content may set the access date.
        QVERIFY(StampOf(setting.Job(file)) == ItemStamp);
        QVERIFY(StampOf(setting.Job(item)) == ItemStamp);
        QCOMPARE(Content(setting.Job(file)), QByteArray("content of " + item));
        QCOMPARE(Names(setting.Trash("files")), QStringList());
        QCOMPARE(Names(setting.Trash("info")), QStringList());
    }

    // Stopped after some items: those are back, the rest stays in the trash with its
    // .trashinfo, and the progress counted each one done.
    void stops_data()
    {
        QTest::addColumn<int>("stopAfter");
        QTest::newRow("before the first") << 0;
        QTest::newRow("midway") << 4;
        QTest::newRow("not before the end") << 12;
    }
    void stops()
    {
        QFETCH(int, stopAfter);
        constexpr int Items = 12;
        const UndoSetting setting(Place::Home);
        for (int i = 0; i < Items; ++i)
            setting.OldFile("f" + QByteArray::number(i), QByteArray::number(i));
        const RunRecord record = setting.TrashRun(QStringLiteral("Files Only"));
        QCOMPARE(record.items.size(), size_t(Items));

        std::atomic_bool stop = false;
        QList<qint64> progress;
        const RestoreResult result = RestoreFromTrash(record, stop, [&](qint64 done, qint64 total) {
            QCOMPARE(total, qint64(Items));
            progress.append(done);
            if (done == stopAfter)
                stop = true;
        });
        QList<qint64> expectedProgress;
        for (int done = 0; done <= stopAfter; ++done)
            expectedProgress.append(done);
        QCOMPARE(progress, expectedProgress);
        QCOMPARE(result.stopped, stopAfter < Items);
        QCOMPARE(result.restored, qint64(stopAfter));
        QCOMPARE(result.items.size(), size_t(Items));
        for (int i = 0; i < Items; ++i) {
            const RestoredItem& item = result.items[size_t(i)];
            const bool back = i < stopAfter;
            QCOMPARE(item.outcome, back ? RestoreOutcome::Restored : RestoreOutcome::NotReached);
            QCOMPARE(QFileInfo::exists(QFile::decodeName(item.path)), back);
            QCOMPARE(QFileInfo::exists(QFile::decodeName(item.trashPath)), !back);
        }
        QCOMPARE(Names(setting.Trash("info")).size(), Items - stopAfter);
    }
};

QTEST_APPLESS_MAIN(TestTrashRestore)
#include "tst_trashrestore.moc"
