#include "config/bytetext.h"
#include "purge/purgecommand.h"
#include "tst_purgefixture.h"

#include <QBuffer>
#include <QScopeGuard>

namespace {

struct CommandResult
{
    int status = 0;
    QList<QByteArray> out; // lines
    QString err;
};

CommandResult RunCommand(const QStringList& args)
{
    const MockClock clock(TestNow());
    const std::atomic_bool stop = false;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    CommandResult result;
    result.status = PurgeCommandMain(args, clock, {}, outStream, errStream, stop);
    const QByteArray data = out.data();
    if (data.endsWith('\n'))
        result.out = data.chopped(1).split('\n');
    else if (!data.isEmpty())
        result.out = {"(the last line has no end)", data};
    result.err = err;
    return result;
}

// old.txt, new.txt; sub/ (old) with old.txt.
void BuildTree(const PurgeTree& tree)
{
    tree.File("old.txt", OldDate());
    tree.File("new.txt", NewDate());
    tree.Folder("sub");
    tree.File("sub/old.txt", OldDate());
    tree.SetDate("sub", OldDate());
}

} // namespace

class TestPurgeCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each wrong argument: one line on err, status 2, nothing deleted.
    void wrongArguments_data()
    {
        QTest::addColumn<QStringList>("args"); // "FOLDER" stands for the tree
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("no folder") << QStringList{"--purge"};
        QTest::newRow("no threshold") << QStringList{"--purge", "FOLDER"};
        QTest::newRow("threshold without unit") << QStringList{"--purge", "FOLDER", "--older-than", "1"};
        QTest::newRow("threshold no number") << QStringList{"--purge", "FOLDER", "--older-than", "x", "Day"};
        QTest::newRow("threshold negative") << QStringList{"--purge", "FOLDER", "--older-than", "-1", "Day"};
        QTest::newRow("unknown unit") << QStringList{"--purge", "FOLDER", "--older-than", "1", "Week"};
        QTest::newRow("unknown style")
            << QStringList{"--purge", "FOLDER", "--older-than", "1", "Day", "--style", "Everything"};
        QTest::newRow("style without value")
            << QStringList{"--purge", "FOLDER", "--older-than", "1", "Day", "--style"};
        QTest::newRow("unknown date kind")
            << QStringList{"--purge", "FOLDER", "--older-than", "1", "Day", "--by", "Date: Birthday"};
        QTest::newRow("unknown option")
            << QStringList{"--purge", "FOLDER", "--older-than", "1", "Day", "--force"};
        QTest::newRow("missing folder")
            << QStringList{"--purge", "FOLDER/missing", "--older-than", "1", "Day"};
        QTest::newRow("file-system root")
            << QStringList{"--purge", "/", "--older-than", "1", "Day", "--dry-run"};
    }
    void wrongArguments()
    {
        QFETCH(QStringList, args);
        const PurgeTree tree;
        BuildTree(tree);
        const QList<QByteArray> before = tree.Listing();
        args.replaceInStrings("FOLDER", tree.Text());
        const CommandResult result = RunCommand(args);
        QCOMPARE(result.status, 2);
        QVERIFY(result.out.isEmpty());
        QVERIFY(result.err.contains("usage: scourwell --purge FOLDER --older-than N UNIT"));
        QCOMPARE(result.err.count('\n'), 1);
        QVERIFY(result.err.endsWith('\n'));
        QCOMPARE(tree.Listing(), before);
    }

    void run_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("deleted");
        QTest::addColumn<bool>("dryRun");
        QTest::newRow("defaults: Files Only by last modified")
            << QStringList{"--older-than", "1", "Day"} << QStringList{"old.txt"} << false;
        QTest::newRow("words in any case")
            << QStringList{"--style", "include FILES in subfolders", "--older-than", "23", "hOUR",
                           "--by",    "date: LAST modified"}
            << QStringList{"sub/old.txt"} << false;
        QTest::newRow("Subfolders Only")
            << QStringList{"--older-than", "2", "Day", "--style", "Subfolders Only"} << QStringList{"sub"}
            << false;
        QTest::newRow("threshold not passed")
            << QStringList{"--older-than", "10", "Day"} << QStringList{} << false;
        QTest::newRow("dry run") << QStringList{"--dry-run", "--older-than", "1",
                                                "Month",     "--by",         "Date: Last Accessed"}
                                 << QStringList{} << true;
        QTest::newRow("dry run, something to report")
            << QStringList{"--older-than", "1", "Day", "--dry-run"} << QStringList{"old.txt"} << true;
    }
    void run()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, deleted);
        QFETCH(bool, dryRun);
        const PurgeTree tree;
        BuildTree(tree);
        const QList<QByteArray> before = tree.Listing();
        const CommandResult result = RunCommand(QStringList{"--purge", tree.Text()} + options);
        QCOMPARE(result.status, 0);
        QVERIFY(result.err.isEmpty());
        QList<QByteArray> expected;
        for (const QString& path : deleted)
            expected.append(tree.Path(QFile::encodeName(path)));
        expected.append(QByteArray::number(deleted.size()));
        QCOMPARE(result.out, expected);
        if (dryRun)
            QCOMPARE(tree.Listing(), before);
        for (const QString& path : deleted)
            QCOMPARE(tree.Exists(QFile::encodeName(path)), dryRun);
    }

    // Paths are printed as the file system's bytes, also where they are no UTF-8.
    void bytesOfNames()
    {
        const PurgeTree tree;
        tree.File("\xff\xfe name", OldDate());
        const CommandResult result = RunCommand({"--purge", tree.Text(), "--older-than", "1", "Day"});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out, (QList<QByteArray>{tree.Path("\xff\xfe name"), "1"}));
    }

    // A folder argument that is no UTF-8, decoded without loss, is that folder.
    void folderNamedInLatin1()
    {
        const PurgeTree tree;
        tree.Folder("caf\xE9");
        tree.File("caf\xE9/old.txt", OldDate());
        const auto removeLatin1 = qScopeGuard([&] { (void)::rmdir(tree.Path("caf\xE9").constData()); });
        const CommandResult result =
            RunCommand({"--purge", TextFromBytes(tree.Path("caf\xE9")), "--older-than", "1", "Day"});
        QCOMPARE(result.err, QString());
        QCOMPARE(result.out, (QList<QByteArray>{tree.Path("caf\xE9/old.txt"), "1"}));
    }
};

QTEST_APPLESS_MAIN(TestPurgeCommand)
#include "tst_purgecommand.moc"
