// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobtable.h"
#include "purge/statusrelay.h"
#include "purge/stringhandling.h"
#include "shared/bytetext.h"
#include "support/filelimits.h"
#include "support/purgetestfiles.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

JobRow Job(const QString& folder, int icon)
{
    JobRow row;
    row.FolderLoc = folder;
    row.icon = RowIcon(icon);
    return row;
}

QList<int> Icons(const JobTable& table)
{
    QList<int> icons;
    for (const JobRow& row : table.Rows())
        icons.append(int(row.icon));
    return icons;
}

} // namespace

class TestStatusRelay : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_dump;

    // The status file as runs started on folders, in order, leave it.
    void StartRuns(const QStringList& folders)
    {
        QVERIFY(ResetStatusDump(m_dir.path()));
        for (const QString& folder : folders)
            QVERIFY(AddTextToFile(m_dump, folder));
    }

private Q_SLOTS:
    void init()
    {
        m_dump = m_dir.filePath("statdump.tmp");
        QDir(m_dump).removeRecursively();
        // Also forgets the markers of earlier cases.
        QVERIFY(ResetStatusDump(m_dir.path()));
        QFile::remove(m_dump);
        QDir(m_dump).removeRecursively();
    }

    void resetEmptiesTheDump_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << false;
        QTest::newRow("stale markers") << true;
    }

    void resetEmptiesTheDump()
    {
        QFETCH(bool, exists);
        if (exists)
            WriteAll(m_dump, StatDumpFirstLine + "</old/a></old/b>");
        QVERIFY(ResetStatusDump(m_dir.path()));
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine);
    }

    // Runs start and end in this order; the file is written anew from the markers still live,
    // and the tick shows the rows of /srv/b, /srv/b>c and /srv/a.
    void markersAddAndRemove_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QList<int>>("icons");
        QTest::newRow("one of three") << QStringList{"/srv/a", "/srv/b", "/srv/c"} << QStringList{"/srv/b"}
                                      << QByteArray("</srv/a></srv/c>") << QList<int>{1, 1, 6};
        QTest::newRow("two runs on one folder, one ends")
            << QStringList{"/srv/a", "/srv/b", "/srv/a"} << QStringList{"/srv/a"}
            << QByteArray("</srv/b></srv/a>") << QList<int>{6, 1, 6};
        QTest::newRow("absent marker") << QStringList{"/srv/a", "/srv/b"} << QStringList{"/srv/c"}
                                       << QByteArray("</srv/a></srv/b>") << QList<int>{6, 1, 6};
        QTest::newRow("other case stays") << QStringList{"/srv/A", "/srv/a"} << QStringList{"/srv/a"}
                                          << QByteArray("</srv/A>") << QList<int>{1, 1, 1};
        QTest::newRow("'>' in a name, the shorter ends")
            << QStringList{"/srv/b", "/srv/b>c"} << QStringList{"/srv/b"} << QByteArray("</srv/b>c>")
            << QList<int>{1, 6, 1};
        QTest::newRow("'>' in a name, the longer ends")
            << QStringList{"/srv/b>c", "/srv/b"} << QStringList{"/srv/b>c"} << QByteArray("</srv/b>")
            << QList<int>{6, 1, 1};
        QTest::newRow("'>' in a name, only the longer runs")
            << QStringList{"/srv/b>c"} << QStringList{} << QByteArray("</srv/b>c>") << QList<int>{1, 6, 1};
        QTest::newRow("all end") << QStringList{"/srv/b", "/srv/b>c"} << QStringList{"/srv/b>c", "/srv/b"}
                                 << QByteArray() << QList<int>{1, 1, 1};
    }

    void markersAddAndRemove()
    {
        QFETCH(QStringList, added);
        QFETCH(QStringList, removed);
        QFETCH(QByteArray, after);
        QFETCH(QList<int>, icons);
        StartRuns(added);
        for (const QString& folder : removed)
            QVERIFY(RemoveTextFromFile(m_dump, folder));
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine + after);
        JobTable table;
        table.Reset({Job("/srv/b", 1), Job("/srv/b>c", 1), Job("/srv/a", 1)});
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(Icons(table), icons);
    }

    // A full disk never leaves the file emptied or cut: a marker removal keeps the old file,
    // and a deleted file is not written anew until the whole of it fits.
    void fullDiskKeepsTheDump_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("marker removal") << false;
        QTest::newRow("deleted file written anew") << true;
    }
    void fullDiskKeepsTheDump()
    {
        QFETCH(bool, deleted);
        StartRuns({"/srv/a", "/srv/b"});
        if (deleted)
            QVERIFY(QFile::remove(m_dump));
        JobTable table;
        table.Reset({Job("/srv/a", 1), Job("/srv/b", 1), Job("/srv/c", 1)});
        {
            const FileSizeLimit full(0);
            if (deleted)
                TimerCheckStatTick(table, m_dir.path());
            else
                QVERIFY(!RemoveTextFromFile(m_dump, "/srv/a"));
        }
        const QStringList left = deleted ? QStringList() : QStringList{"statdump.tmp"};
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), left);
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine + "</srv/a></srv/b>");
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(Icons(table), (QList<int>{6, 6, 1}));
    }

    // A run that ends while the process has no descriptor to spare still takes its marker away
    // once other runs close theirs.
    void removalWaitsForDescriptors()
    {
        StartRuns({"/srv/a", "/srv/b"});
        {
            DescriptorShortage shortage;
            QVERIFY(shortage.Holds());
            shortage.Release();
            QVERIFY(RemoveTextFromFile(m_dump, "/srv/a"));
        }
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine + "</srv/b>");
    }

    void addAppendsWithoutLineEnd()
    {
        QVERIFY(AddTextToFile(m_dump, "/srv/Bücher"));
        StartRuns({"/srv/a", "/srv/Bücher"});
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine + "</srv/a></srv/Bücher>");
        QVERIFY(IsTextInFile(m_dump, "</srv/Bücher>"));
        QVERIFY(!IsTextInFile(m_dump, "</srv/bücher>"));
    }

    // Markers keep the bytes of folder names that are no UTF-8, so that two such folders
    // differ in the dump as on disk.
    void markerKeepsBytes()
    {
        const QString latin1 = TextFromBytes("/srv/caf\xE9");
        QVERIFY(AddTextToFile(m_dump, latin1));
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine + "</srv/caf\xE9>");
        JobTable table;
        table.Reset({Job(latin1, 1), Job(TextFromBytes("/srv/caf\xE8"), 1), Job("/srv/caf\uFFFD", 1)});
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(Icons(table), (QList<int>{6, 1, 1}));
        QVERIFY(RemoveTextFromFile(m_dump, latin1));
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine);
    }

    void missingOrUnreadableDump()
    {
        QVERIFY(IsTextInFile(m_dump, "</a>"));
        // A missing dump is written back.
        QVERIFY(RemoveTextFromFile(m_dump, "/a"));
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine);
        QVERIFY(QFile::remove(m_dump));

        // A dump that exists but cannot be read is left alone and counts as holding everything.
        QVERIFY(QDir().mkdir(m_dump));
        QVERIFY(IsTextInFile(m_dump, "</a>"));
        QVERIFY(!RemoveTextFromFile(m_dump, "/a"));
        QVERIFY(QFileInfo(m_dump).isDir());
    }

    void tickShowsRunningRows_data()
    {
        QTest::addColumn<QByteArray>("dump");
        QTest::addColumn<QList<int>>("icons");
        const QList<int> idle = {1, 2, 1, 3, 5};
        QTest::newRow("nothing runs") << StatDumpFirstLine << idle;
        QTest::newRow("two jobs on one folder")
            << StatDumpFirstLine + "</srv/a>" << QList<int>{6, 6, 1, 3, 5};
        QTest::newRow("case differs") << StatDumpFirstLine + "</srv/A2>" << idle;
        QTest::newRow("all") << StatDumpFirstLine + "</srv/a></srv/a2></srv/b></srv/gone>"
                             << QList<int>{6, 6, 6, 6, 6};
    }

    void tickShowsRunningRows()
    {
        QFETCH(QByteArray, dump);
        QFETCH(QList<int>, icons);
        JobTable table;
        table.Reset(
            {Job("/srv/a", 1), Job("/srv/a", 2), Job("/srv/a2", 1), Job("/srv/b", 3), Job("/srv/gone", 5)});
        WriteAll(m_dump, dump);
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(Icons(table), icons);

        // The run ends: every row gets its own icon back, and a further tick changes nothing.
        WriteAll(m_dump, StatDumpFirstLine);
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(Icons(table), (QList<int>{1, 2, 1, 3, 5}));
        QSignalSpy changed(&table, &JobTable::RowChanged);
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(changed.count(), 0);
    }

    // A dump that exists but cannot be read is never written over: it may hold markers.
    void unreadableDumpShowsEveryRowRunning()
    {
        JobTable table;
        table.Reset({Job("/srv/a", 2), Job("/srv/b", 4)});
        QVERIFY(QDir().mkdir(m_dump));
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(Icons(table), (QList<int>{6, 6}));
        QCOMPARE(table.Row(0).savedIcon, RowIcon::Disabled);

        // Still running at the next tick: the icon saved before is kept, not the running one.
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(table.Row(1).savedIcon, RowIcon::DisabledPassed);
        QVERIFY(QFileInfo(m_dump).isDir());

        QVERIFY(QDir().rmdir(m_dump));
        WriteAll(m_dump, StatDumpFirstLine);
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(Icons(table), (QList<int>{2, 4}));
    }

    // The dump is deleted while the runs of /srv/a and /srv/b go on (running); some end and
    // some start before the next tick. The first tick after shows what the file allows, the
    // second what runs.
    void deletedDumpIsWrittenAnew_data()
    {
        QTest::addColumn<QStringList>("running");
        QTest::addColumn<QStringList>("ended");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QList<int>>("firstIcons");
        QTest::addColumn<QByteArray>("dump");
        QTest::addColumn<QList<int>>("icons");
        const QList<int> all = {6, 6};
        QTest::newRow("nothing runs") << QStringList() << QStringList() << QStringList() << all
                                      << StatDumpFirstLine << QList<int>{1, 2};
        QTest::newRow("runs go on") << QStringList{"/srv/b"} << QStringList() << QStringList() << all
                                    << StatDumpFirstLine + "</srv/b>" << QList<int>{1, 6};
        QTest::newRow("one ends") << QStringList{"/srv/a", "/srv/b"} << QStringList{"/srv/a"} << QStringList()
                                  << QList<int>{1, 6} << StatDumpFirstLine + "</srv/b>" << QList<int>{1, 6};
        QTest::newRow("one starts") << QStringList{"/srv/a"} << QStringList() << QStringList{"/srv/b"} << all
                                    << StatDumpFirstLine + "</srv/a></srv/b>" << all;
    }
    void deletedDumpIsWrittenAnew()
    {
        QFETCH(QStringList, running);
        QFETCH(QStringList, ended);
        QFETCH(QStringList, started);
        QFETCH(QList<int>, firstIcons);
        QFETCH(QByteArray, dump);
        QFETCH(QList<int>, icons);
        StartRuns(running);
        QVERIFY(QFile::remove(m_dump));
        for (const QString& folder : ended)
            QVERIFY(RemoveTextFromFile(m_dump, folder));
        for (const QString& folder : started)
            QVERIFY(AddTextToFile(m_dump, folder));

        JobTable table;
        table.Reset({Job("/srv/a", 1), Job("/srv/b", 2)});
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(Icons(table), firstIcons);
        QCOMPARE(ReadAll(m_dump), dump);
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(Icons(table), icons);
    }
};

QTEST_APPLESS_MAIN(TestStatusRelay)
#include "tst_statusrelay.moc"
