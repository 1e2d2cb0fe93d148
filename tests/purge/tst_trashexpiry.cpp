// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/runrecord.h"
#include "purge/trash.h"
#include "purge/trashexpiry.h"
#include "support/trashedrecord.h"
#include "tst_purgefixture.h"

namespace {

enum class Kind
{
    File,
    Folder, // holding a subfolder, a file and a link out of the trash
    Link    // to a folder out of the trash
};

// Which trash: the home one, or one at the top of a file system, whose .trashinfo names the
// path relative to that top.
enum class Place
{
    Home,
    Top
};

// What the entry's .trashinfo says of it.
enum class Info
{
    Recorded,    // the recorded path, with its deletion date
    NoDate,      // the recorded path; the run's start gives the date
    AnotherPath, // another program took the name since
    Resolved,    // the recorded path with the job's link resolved, as the kernel named it
    Missing,
    Link // a link to a .trashinfo that names the recorded path
};

const QByteArray Name = "old.txt";

} // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Place)
Q_DECLARE_METATYPE(Info)

class TestTrashExpiry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void Expiry_data();
    void Expiry();
};

void TestTrashExpiry::Expiry_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Place>("place");
    QTest::addColumn<Info>("info");
    QTest::addColumn<int>("age"); // days since it went to the trash
    QTest::addColumn<bool>("recorded");
    QTest::addColumn<int>("days");
    QTest::addColumn<bool>("emptied");

    QTest::newRow("old recorded file")
        << Kind::File << Place::Home << Info::Recorded << 31 << true << 30 << true;
    QTest::newRow("young recorded file")
        << Kind::File << Place::Home << Info::Recorded << 29 << true << 30 << false;
    QTest::newRow("unrecorded old file")
        << Kind::File << Place::Home << Info::Recorded << 31 << false << 30 << false;
    QTest::newRow("name taken by another path")
        << Kind::File << Place::Home << Info::AnotherPath << 31 << true << 30 << false;
    QTest::newRow("recorded folder, whole")
        << Kind::Folder << Place::Home << Info::Recorded << 31 << true << 30 << true;
    QTest::newRow("link removed, not followed")
        << Kind::Link << Place::Home << Info::Recorded << 31 << true << 30 << true;
    QTest::newRow("0 days never empties")
        << Kind::File << Place::Home << Info::Recorded << 80 << true << 0 << false;
    QTest::newRow("no deletion date, old run")
        << Kind::File << Place::Home << Info::NoDate << 8 << true << 7 << true;
    QTest::newRow("no deletion date, young run")
        << Kind::File << Place::Home << Info::NoDate << 6 << true << 7 << false;
    QTest::newRow("job named through a link")
        << Kind::File << Place::Home << Info::Resolved << 31 << true << 30 << true;
    QTest::newRow("no trashinfo") << Kind::File << Place::Home << Info::Missing << 31 << true << 30 << false;
    QTest::newRow("trashinfo a link") << Kind::File << Place::Home << Info::Link << 31 << true << 30 << false;
    QTest::newRow("trash at the top, old folder")
        << Kind::Folder << Place::Top << Info::Recorded << 2 << true << 1 << true;
    QTest::newRow("trash at the top, another path")
        << Kind::File << Place::Top << Info::AnotherPath << 2 << true << 1 << false;
}

void TestTrashExpiry::Expiry()
{
    QFETCH(Kind, kind);
    QFETCH(Place, place);
    QFETCH(Info, info);
    QFETCH(int, age);
    QFETCH(bool, recorded);
    QFETCH(int, days);
    QFETCH(bool, emptied);

    PurgeTree tree;
    tree.Folder("data");
    qputenv("XDG_DATA_HOME", tree.Path("data"));
    tree.Folder("program");
    tree.Folder("job");
    tree.Link("joblink", tree.Path("job"), NewDate());
    tree.Folder("outside");
    tree.File("outside/kept", OldDate());
    const QByteArray trash = place == Place::Home ? QByteArray("data/Trash") : QByteArray("top/.Trash-0");
    if (place == Place::Top) {
        tree.Folder("top");
        tree.Folder("top/job");
    }
    tree.Folder(trash);
    tree.Folder(trash + "/files");
    tree.Folder(trash + "/info");
    const QByteArray entry = trash + "/files/" + Name;
    switch (kind) {
    case Kind::File:
        tree.File(entry, OldDate());
        break;
    case Kind::Folder:
        tree.Folder(entry);
        tree.Folder(entry + "/sub");
        tree.File(entry + "/sub/a", OldDate());
        tree.Link(entry + "/sub/out", tree.Path("outside"), OldDate());
        tree.File(entry + "/b", OldDate());
        break;
    case Kind::Link:
        tree.Link(entry, tree.Path("outside"), OldDate());
        break;
    }

    const QDateTime now = TestNow();
    const QDateTime deleted = now.addDays(-age);
    const QByteArray jobFolder = place == Place::Top      ? tree.Path("top/job")
                                 : info == Info::Resolved ? tree.Path("joblink")
                                                          : tree.Path("job");
    const QByteArray original = jobFolder + '/' + Name;
    const QByteArray named = place == Place::Top         ? QByteArray("job/" + Name)
                             : info == Info::AnotherPath ? tree.Path("elsewhere/" + Name)
                                                         : tree.Path("job/" + Name);
    const QByteArray infoFile = tree.Path(trash + "/info/" + Name + ".trashinfo");
    QByteArray infoText =
        TrashInfoText(info == Info::AnotherPath && place == Place::Top ? "other/" + Name : named, deleted);
    if (info == Info::NoDate)
        infoText = infoText.left(infoText.indexOf("DeletionDate="));
    if (info == Info::Link) {
        QFile real(tree.Text("outside/info"));
        QVERIFY(real.open(QIODevice::WriteOnly));
        real.write(infoText);
        real.close();
        QCOMPARE(::symlink(tree.Path("outside/info").constData(), infoFile.constData()), 0);
    } else if (info != Info::Missing) {
        QFile file(QFile::decodeName(infoFile));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(infoText);
    }

    // The run began a little before the item went; a run of another item of the trash is
    // recorded either way.
    std::vector<TrashedItem> items{{jobFolder + "/other", tree.Path(trash + "/files/other")}};
    if (recorded)
        items.emplace_back(original, tree.Path(entry));
    RecordTrashRun(tree.Text("program"), jobFolder, deleted.addSecs(-60), items);

    std::atomic_bool stop = false;
    QCOMPARE(EmptyExpiredTrash(tree.Text("program"), now, days, stop), emptied ? 1 : 0);
    QCOMPARE(tree.Exists(entry), !emptied);
    QCOMPARE(QFileInfo::exists(QFile::decodeName(infoFile)) ||
                 QFileInfo(QFile::decodeName(infoFile)).isSymLink(),
             !emptied && info != Info::Missing);
    QVERIFY(tree.Exists("outside/kept"));
    QVERIFY(tree.Exists("outside"));
}

QTEST_GUILESS_MAIN(TestTrashExpiry)
#include "tst_trashexpiry.moc"
