// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/purgecommand.h"
#include "shared/bytetext.h"
#include "tst_purgefixture.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <csignal>

namespace {

struct CommandResult
{
    int status = 0;
    QList<QByteArray> out; // lines
    QString err;
};

CommandResult RunCommand(const QStringList& args, bool stopped = false)
{
    const MockClock clock(TestNow());
    const std::atomic_bool stop = stopped;
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

#ifdef SCOURWELL_EXECUTABLE
constexpr int ManyFiles = 20000;

// scourwell --purge on ManyFiles old files of the tree, more than fit its output pipe.
void StartOnManyFiles(const PurgeTree& tree, QProcess& process)
{
    for (int i = 0; i < ManyFiles; ++i)
        tree.File("an old file with a long name, number " + QByteArray::number(i), OldDate());
    process.start(SCOURWELL_EXECUTABLE, {"--purge", tree.Text(), "--older-than", "1", "Day"});
    QVERIFY(process.waitForStarted());
}
#endif

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
        QTest::newRow("verbose without dry run")
            << QStringList{"--purge", "FOLDER", "--older-than", "1", "Day", "--verbose"};
        QTest::newRow("format without dry run")
            << QStringList{"--purge", "FOLDER", "--older-than", "1", "Day", "--format", "tsv"};
        QTest::newRow("unknown format")
            << QStringList{"--purge", "FOLDER", "--older-than", "1", "Day", "--dry-run", "--format", "json"};
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
        QTest::newRow("defaults: Files Only by last modified")
            << QStringList{"--older-than", "1", "Day"} << QStringList{"old.txt"};
        QTest::newRow("words in any case")
            << QStringList{"--style", "include FILES in subfolders", "--older-than", "23", "hOUR",
                           "--by",    "date: LAST modified"}
            << QStringList{"sub/old.txt"};
        QTest::newRow("Subfolders Only")
            << QStringList{"--older-than", "2", "Day", "--style", "Subfolders Only"} << QStringList{"sub"};
        QTest::newRow("threshold not passed") << QStringList{"--older-than", "10", "Day"} << QStringList{};
        QTest::newRow("to the trash")
            << QStringList{"--trash", "--older-than", "2", "Day", "--style", "Subfolders Only"}
            << QStringList{"sub"};
    }
    void run()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, deleted);
        const PurgeTree tree;
        BuildTree(tree);
        const QTemporaryDir data;
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
        const CommandResult result = RunCommand(QStringList{"--purge", tree.Text()} + options);
        QCOMPARE(result.status, 0);
        QVERIFY(result.err.isEmpty());
        QList<QByteArray> expected;
        for (const QString& path : deleted)
            expected.append(tree.Path(QFile::encodeName(path)));
        expected.append(QByteArray::number(deleted.size()));
        QCOMPARE(result.out, expected);
        for (const QString& path : deleted) {
            QVERIFY(!tree.Exists(QFile::encodeName(path)));
            QCOMPARE(QFileInfo::exists(data.filePath("Trash/files/" + path)), options.contains("--trash"));
        }
    }

    // A dry run reports what would go (and, verbose, what stays and why) and the totals, and
    // changes nothing. In the lines TREE stands for the tree, OLD and NEW for the dates.
    void dryRun_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QList<QByteArray>>("lines"); // but the last, in any order
        QTest::addColumn<QByteArray>("totals");
        QTest::newRow("Files Only")
            << QStringList{} << QList<QByteArray>{"would delete  file  1 bytes  OLD  10 days  TREE/old.txt"}
            << QByteArray("would delete 1 files, 0 folders, 1 bytes");
        QTest::newRow("Files Only, kept ones too")
            << QStringList{"--verbose"}
            << QList<QByteArray>{"keep (hidden)  file  0 bytes  -  -  TREE/.hidden",
                                 "keep (too young)  file  1 bytes  NEW  0 days  TREE/new.txt",
                                 "would delete  file  1 bytes  OLD  10 days  TREE/old.txt"}
            << QByteArray("would delete 1 files, 0 folders, 1 bytes");
        QTest::newRow("Subfolders Only, by the hour")
            << QStringList{"--style", "Subfolders Only", "--older-than", "1", "Hour"}
            << QList<QByteArray>{"would delete  folder  1 bytes  OLD  240 hours  TREE/sub"}
            << QByteArray("would delete 0 files, 1 folders, 1 bytes");
        QTest::newRow("tab-separated")
            << QStringList{"--format", "tsv", "--verbose"}
            << QList<QByteArray>{"action\treason\tkind\tbytes\tdate\tage\tpath",
                                 "delete\told-enough\tfile\t1\tOLD\t10\tTREE/old.txt",
                                 "keep\thidden\tfile\t0\t\t\tTREE/.hidden",
                                 "keep\ttoo-young\tfile\t1\tNEW\t0\tTREE/new.txt"}
            << QByteArray("total\t1\t0\t1");
    }
    void dryRun()
    {
        QFETCH(QStringList, options);
        QFETCH(QList<QByteArray>, lines);
        QFETCH(QByteArray, totals);
        const PurgeTree tree;
        BuildTree(tree);
        tree.File(".hidden", OldDate());
        const QList<QByteArray> before = tree.Listing();
        const CommandResult result = RunCommand(
            QStringList{"--purge", tree.Text(), "--older-than", "1", "Day", "--dry-run"} + options);
        QCOMPARE(result.status, 0);
        QVERIFY(result.err.isEmpty());
        const bool tsv = options.contains("tsv");
        const auto dateText = [tsv](qint64 date) {
            return QDateTime::fromSecsSinceEpoch(date)
                .toString(tsv ? "yyyy-MM-ddTHH:mm:ss" : "yyyy-MM-dd HH:mm")
                .toLatin1();
        };
        for (QByteArray& line : lines)
            line.replace("TREE", tree.Path())
                .replace("OLD", dateText(OldDate()))
                .replace("NEW", dateText(NewDate()));
        QList<QByteArray> items = result.out;
        QCOMPARE(items.takeLast(), totals);
        std::sort(items.begin(), items.end());
        QCOMPARE(items, lines);
        QCOMPARE(tree.Listing(), before);
    }

    // Each tab-separated line has its seven fields, also for names with tabs and line breaks,
    // and the rows to delete add up to the totals.
    void tsvTotals_data()
    {
        QTest::addColumn<QString>("style");
        for (const PurgeStyle style :
             {PurgeStyle::FilesOnly, PurgeStyle::IncludeFilesInSubfolders, PurgeStyle::SubfoldersOnly})
            QTest::newRow(qPrintable(Spelling(style))) << Spelling(style);
    }
    void tsvTotals()
    {
        QFETCH(QString, style);
        const PurgeTree tree;
        BuildTree(tree);
        for (const QByteArray folder : {"", "sub/", "tabs\there/"}) {
            if (folder.startsWith("tabs"))
                tree.Folder(folder.chopped(1));
            tree.File(folder + "a\tb", OldDate());
            tree.File(folder + "line\nbreak", OldDate());
            tree.Link(folder + "link", "a\tb", OldDate());
        }
        tree.SetDate("tabs\there", OldDate());
        const CommandResult result = RunCommand({"--purge", tree.Text(), "--older-than", "1", "Day",
                                                 "--style", style, "--dry-run", "--format", "tsv"});
        QCOMPARE(result.status, 0);
        QList<QByteArray> rows = result.out;
        QVERIFY(rows.size() >= 3);
        const QList<QByteArray> total = rows.takeLast().split('\t');
        QCOMPARE(total.size(), 4);
        QCOMPARE(total[0], "total");
        rows.removeFirst();
        qint64 files = 0;
        qint64 folders = 0;
        qint64 bytes = 0;
        for (const QByteArray& row : rows) {
            const QList<QByteArray> fields = row.split('\t');
            QCOMPARE(fields.size(), 7);
            QCOMPARE(fields[0], "delete");
            ++(fields[2] == "folder" ? folders : files);
            bytes += fields[3].toLongLong();
        }
        QVERIFY(files + folders > 0);
        QCOMPARE(total[1].toLongLong(), files);
        QCOMPARE(total[2].toLongLong(), folders);
        QCOMPARE(total[3].toLongLong(), bytes);
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

    // A path holding a line break is printed in $'...' quoting, so that every item stays one
    // line; other paths are printed as they are.
    void lineBreaksEscaped_data()
    {
        QTest::addColumn<QByteArray>("folder"); // below the tree, named relative to it
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("line"); // DIR stands for the folder as named
        QTest::newRow("line feed") << QByteArray() << QByteArray("a\nb") << QByteArray("$'DIR/a\\nb'");
        QTest::newRow("carriage return") << QByteArray() << QByteArray("a\rb") << QByteArray("$'DIR/a\\rb'");
        QTest::newRow("break beside backslash and quote")
            << QByteArray() << QByteArray("a\\n'\n\r") << QByteArray("$'DIR/a\\\\n\\'\\n\\r'");
        QTest::newRow("backslash and quote alone stay")
            << QByteArray() << QByteArray("it's a\\n") << QByteArray("DIR/it's a\\n");
        QTest::newRow("as if quoted already")
            << QByteArray("$'x") << QByteArray("old") << QByteArray("$'$\\'x/old'");
    }
    void lineBreaksEscaped()
    {
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, line);
        const PurgeTree tree;
        QString argument = tree.Text();
        const QString before = QDir::currentPath();
        const auto restore = qScopeGuard([&] { QDir::setCurrent(before); });
        if (!folder.isEmpty()) {
            tree.Folder(folder);
            QVERIFY(QDir::setCurrent(tree.Text()));
            argument = QFile::decodeName(folder);
        }
        tree.File(folder.isEmpty() ? name : folder + '/' + name, OldDate());
        const CommandResult result = RunCommand({"--purge", argument, "--older-than", "1", "Day"});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out, (QList<QByteArray>{line.replace("DIR", QFile::encodeName(argument)), "1"}));
    }

    // Stopped before its first item: nothing goes, the count is told, and the status says so.
    void stopped()
    {
        const PurgeTree tree;
        BuildTree(tree);
        const QList<QByteArray> before = tree.Listing();
        const CommandResult result = RunCommand({"--purge", tree.Text(), "--older-than", "1", "Day"}, true);
        QCOMPARE(result.status, 130);
        QCOMPARE(result.out, QList<QByteArray>{"0"});
        QCOMPARE(tree.Listing(), before);
    }

    // A folder that is there but cannot be opened: a message, status 1, nothing printed.
    void folderNotOpened()
    {
        const PurgeTree tree;
        tree.Folder("locked");
        tree.File("locked/old.txt", OldDate());
        QCOMPARE(::chmod(tree.Path("locked").constData(), 0311), 0);
        const int status = RunUnprivileged(tree, [&] {
            const CommandResult result =
                RunCommand({"--purge", tree.Text("locked"), "--older-than", "1", "Day"});
            const bool told = result.err.contains("could not be opened") && result.out.isEmpty();
            return told ? result.status : 100;
        });
        QCOMPARE(status, 1);
        QVERIFY(tree.Exists("locked/old.txt"));
    }

    // A signal stops the program before its next item, with 128 + the signal's number.
    void stopSignals_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void stopSignals()
    {
#ifdef SCOURWELL_EXECUTABLE
        QFETCH(int, signalNumber);
        const PurgeTree tree{PurgeTree::InMemory()};
        QProcess process;
        StartOnManyFiles(tree, process);
        // From its first output on it has its signal handlers, and it cannot finish while
        // its output is not read.
        QVERIFY(process.waitForReadyRead());
        QCOMPARE(::kill(process.processId(), signalNumber), 0);
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 128 + signalNumber);
        const QList<QByteArray> lines = process.readAllStandardOutput().trimmed().split('\n');
        const qsizetype left = tree.Listing().size();
        QVERIFY(left > 0);
        QCOMPARE(lines.last().toLongLong(), ManyFiles - left);
#else
        QSKIP("needs the scourwell program");
#endif
    }

    // A reader that goes away ends the output, not the purge; the status tells the loss.
    void outputClosed()
    {
#ifdef SCOURWELL_EXECUTABLE
        const PurgeTree tree{PurgeTree::InMemory()};
        QProcess head;
        QProcess process;
        process.setStandardOutputProcess(&head);
        head.start("head", {"-n", "1"});
        StartOnManyFiles(tree, process);
        QVERIFY(process.waitForFinished());
        QVERIFY(head.waitForFinished());
        QCOMPARE(head.readAllStandardOutput().count('\n'), 1);
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().contains("could not be written"));
        QCOMPARE(tree.Listing(), QList<QByteArray>{});
#else
        QSKIP("needs the scourwell program");
#endif
    }
};

QTEST_APPLESS_MAIN(TestPurgeCommand)
#include "tst_purgecommand.moc"
