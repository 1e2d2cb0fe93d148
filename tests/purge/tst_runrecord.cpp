// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/runrecord.h"
#include "purge/trash.h"
#include "shared/bytetext.h"
#include "support/purgetestfiles.h"
#include "tst_purgefixture.h"

#include <QTemporaryDir>
#include <csignal>

namespace {

struct Item
{
    QByteArray path;
    PurgeItemKind kind;
    qint64 size;
    std::optional<qint64> date;
    QByteArray trashPath;
    bool sizeKnown = true;
};

void AddItem(RunRecordWriter& writer, const Item& item)
{
    ItemDecision decision;
    decision.path = item.path;
    decision.kind = item.kind;
    decision.size = item.size;
    decision.sizeKnown = item.sizeKnown;
    decision.date = item.date;
    writer.Add(RemovedItem{decision, item.trashPath});
}

void SetFileDate(const QString& path, const QDateTime& date)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(date, QFileDevice::FileModificationTime));
}

} // namespace

Q_DECLARE_METATYPE(Item)
Q_DECLARE_METATYPE(PurgeOutcome)
Q_DECLARE_METATYPE(RecordEnd)

class TestRunRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What a record says reads back as it was, whatever bytes the names hold.
    void readsBack_data()
    {
        QTest::addColumn<Item>("item");
        QTest::addColumn<PurgeOutcome>("outcome");
        QTest::addColumn<RecordEnd>("end");
        const qint64 date = OldDate();
        QTest::newRow("deleted file") << Item{"/j/a.txt", PurgeItemKind::File, 12, date, {}}
                                      << PurgeOutcome::Complete << RecordEnd::Complete;
        QTest::newRow("trashed folder") << Item{"/j/dir", PurgeItemKind::Folder, 4096, date, "/t/files/dir"}
                                        << PurgeOutcome::Stopped << RecordEnd::Stopped;
        QTest::newRow("tab, line break, percent")
            << Item{"/j/a\tb\nc%d", PurgeItemKind::Link, 3, date, "/t/files/a\tb\nc%d"}
            << PurgeOutcome::Complete << RecordEnd::Complete;
        QTest::newRow("not UTF-8, no date")
            << Item{"/j/\xff\xfe", PurgeItemKind::File, 0, std::nullopt, "/t/files/\xff\xfe.2"}
            << PurgeOutcome::Complete << RecordEnd::Complete;
        QTest::newRow("folder not sized") << Item{"/j/dir", PurgeItemKind::Folder, 0, date, {}, false}
                                          << PurgeOutcome::Complete << RecordEnd::Complete;
        QTest::newRow("folder not opened") << Item{"/j/x", PurgeItemKind::File, 1, date, {}}
                                           << PurgeOutcome::NotOpened << RecordEnd::NotOpened;
    }
    void readsBack()
    {
        QFETCH(Item, item);
        QFETCH(PurgeOutcome, outcome);
        QFETCH(RecordEnd, end);
        QTemporaryDir program;
        const QString folder = TextFromBytes("/j\t\xff");
        RunRecordWriter writer(program.path(), folder, "Subfolders\tOnly", Removal::MoveToTrash, TestNow());
        AddItem(writer, item);
        writer.Finish({.count = 7,
                       .files = 5,
                       .folders = 2,
                       .bytes = 99,
                       .sizesKnown = item.sizeKnown,
                       .outcome = outcome});
        const std::vector<RunRecord> records = ReadRunRecords(program.path());
        QCOMPARE(records.size(), size_t(1));
        QVERIFY(records[0].items.empty());
        const std::optional<RunRecord> record = ReadRunRecord(records[0].file);
        QVERIFY(record);
        QCOMPARE(record->folder, folder);
        QCOMPARE(record->style, "Subfolders\tOnly"); // hand-edited
        QCOMPARE(record->removal, Removal::MoveToTrash);
        QCOMPARE(record->start, TestNow());
        QCOMPARE(record->end, end);
        QCOMPARE((QList<qint64>{record->count, record->files, record->folders, record->bytes}),
                 (QList<qint64>{7, 5, 2, item.sizeKnown ? 99 : 0}));
        QCOMPARE(record->items.size(), size_t(1));
        const RecordedItem& read = record->items[0];
        QCOMPARE(read.path, item.path);
        QCOMPARE(read.kind, item.kind);
        QCOMPARE(read.size, item.size);
        QCOMPARE(read.sizeKnown, item.sizeKnown);
        QCOMPARE(record->sizesKnown, item.sizeKnown);
        QCOMPARE(read.date, item.date);
        QCOMPARE(read.trashPath, item.trashPath);
    }

    // Old records go first, by age and then by total size; the newest stays.
    void prunes_data()
    {
        QTest::addColumn<QList<int>>("ageDays"); // of each record, oldest first
        QTest::addColumn<QList<qint64>>("sizes");
        QTest::addColumn<int>("kept"); // the newest ones
        QTest::newRow("all young and small") << QList<int>{30, 10, 0} << QList<qint64>{10, 10, 10} << 3;
        QTest::newRow("one too old") << QList<int>{RunRecordDays + 1, 10, 0} << QList<qint64>{10, 10, 10}
                                     << 2;
        QTest::newRow("too large together")
            << QList<int>{3, 2, 1} << QList<qint64>{RunRecordBytes / 2, RunRecordBytes / 2, 10} << 2;
    }
    void prunes()
    {
        QFETCH(QList<int>, ageDays);
        QFETCH(QList<qint64>, sizes);
        QFETCH(int, kept);
        QTemporaryDir program;
        QStringList files;
        for (qsizetype i = 0; i < ageDays.size(); ++i) {
            const QDateTime start = TestNow().addDays(-ageDays[i]);
            RunRecordWriter writer(program.path(), "/j", "Files Only", Removal::Delete, start);
            writer.Finish({});
            QVERIFY(QFile::resize(writer.File(), sizes[i]));
            SetFileDate(writer.File(), start);
            files.append(writer.File());
        }
        PruneRunRecords(program.path(), TestNow());
        for (qsizetype i = 0; i < files.size(); ++i)
            QCOMPARE(QFile::exists(files[i]), i >= files.size() - kept);
    }

    // A trash run killed midway: each item is in place or in the trash with a .trashinfo that
    // names it, and the record names all but the last few that went, each where it went.
    void killedTrashRun()
    {
        constexpr int Files = 200;
        constexpr int KilledAt = 50;
        const PurgeTree tree;
        tree.Folder("job");
        tree.Folder("data");
        tree.Folder("program");
        qputenv("XDG_DATA_HOME", tree.Path("data"));
        for (int i = 0; i < Files; ++i)
            tree.File("job/f" + QByteArray::number(i), OldDate());
        const int status =
            RunInChild([] { return true; },
                       [&] {
                           RunRecordWriter writer(tree.Text("program"), tree.Text("job"), "Files Only",
                                                  Removal::MoveToTrash, TestNow());
                           PurgeRequest request = Request("Files Only", tree.Text("job"));
                           request.removal = Removal::MoveToTrash;
                           const MockClock clock(TestNow());
                           const std::atomic_bool stop = false;
                           int removed = 0;
                           RunSchedule(request, clock, stop, {}, {}, {}, [&](const RemovedItem& item) {
                               writer.Add(item);
                               if (++removed == KilledAt)
                                   ::raise(SIGKILL);
                           });
                           return 0;
                       });
        QCOMPARE(status, -1);
        const std::vector<RunRecord> records = ReadRunRecords(tree.Text("program"));
        QCOMPARE(records.size(), size_t(1));
        const std::optional<RunRecord> record = ReadRunRecord(records[0].file);
        QVERIFY(record);
        QCOMPARE(record->end, RecordEnd::Unfinished);
        QVERIFY(qsizetype(record->items.size()) > KilledAt - 8);
        QCOMPARE(record->count, qint64(record->items.size()));
        for (const RecordedItem& item : record->items) {
            QVERIFY(!tree.Exists(item.path.mid(tree.Path().size() + 1)));
            QVERIFY(QFileInfo::exists(QFile::decodeName(item.trashPath)));
        }
        int inTrash = 0;
        for (int i = 0; i < Files; ++i) {
            const QByteArray name = "f" + QByteArray::number(i);
            if (tree.Exists("job/" + name))
                continue;
            ++inTrash;
            QVERIFY(tree.Exists("data/Trash/files/" + name));
            const std::optional<TrashInfo> info =
                ParseTrashInfo(ReadAll(tree.Text("data/Trash/info/" + name + ".trashinfo")));
            QVERIFY(info);
            QCOMPARE(info->path, tree.Path("job/" + name));
        }
        QCOMPARE(inTrash, KilledAt);
    }
};

QTEST_APPLESS_MAIN(TestRunRecord)
#include "tst_runrecord.moc"
