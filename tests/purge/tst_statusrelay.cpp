#include "config/bytetext.h"
#include "config/jobtable.h"
#include "purge/statusrelay.h"
#include "purge/stringhandling.h"
#include "purgetestfiles.h"

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
    row.SetFolderLoc(folder);
    row.icon = icon;
    return row;
}

QList<int> Icons(const JobTable& table)
{
    QList<int> icons;
    for (const JobRow& row : table.Rows())
        icons.append(row.icon);
    return icons;
}

} // namespace

class TestStatusRelay : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_dump;

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

    void markersAddAndRemove_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("one of three") << StatDumpFirstLine + "</a></b></c>"
                                      << "/b" << StatDumpFirstLine + "</a></c>";
        QTest::newRow("both jobs on one folder") << StatDumpFirstLine + "</a></b></a>"
                                                 << "/a" << StatDumpFirstLine + "</b>";
        QTest::newRow("absent marker") << StatDumpFirstLine + "</a></b>"
                                       << "/c" << StatDumpFirstLine + "</a></b>";
        QTest::newRow("other case stays") << StatDumpFirstLine + "</A></a>"
                                          << "/a" << StatDumpFirstLine + "</A>";
        QTest::newRow("prefix stays") << StatDumpFirstLine + "</a/b></a>"
                                      << "/a" << StatDumpFirstLine + "</a/b>";
        QTest::newRow("no line end added") << QByteArray("</a>") << "/a" << QByteArray();
    }

    void markersAddAndRemove()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, removed);
        QFETCH(QByteArray, after);
        WriteAll(m_dump, before);
        QVERIFY(RemoveTextFromFile(m_dump, removed));
        QCOMPARE(ReadAll(m_dump), after);
    }

    void addAppendsWithoutLineEnd()
    {
        QVERIFY(AddTextToFile(m_dump, "/srv/Bücher"));
        QVERIFY(ResetStatusDump(m_dir.path()));
        QVERIFY(AddTextToFile(m_dump, "/srv/a"));
        QVERIFY(AddTextToFile(m_dump, "/srv/Bücher"));
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
        QCOMPARE(ReadAll(m_dump), QByteArray("</srv/caf\xE9>"));
        JobTable table;
        table.Reset({Job(latin1, 1), Job(TextFromBytes("/srv/caf\xE8"), 1), Job("/srv/caf\uFFFD", 1)});
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(Icons(table), (QList<int>{6, 1, 1}));
        QVERIFY(RemoveTextFromFile(m_dump, latin1));
        QCOMPARE(ReadAll(m_dump), QByteArray());
    }

    void missingOrUnreadableDump()
    {
        QVERIFY(IsTextInFile(m_dump, "</a>"));
        // A missing dump reads as empty and is written back.
        QVERIFY(RemoveTextFromFile(m_dump, "/a"));
        QCOMPARE(ReadAll(m_dump), QByteArray());
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
        QCOMPARE(table.Row(0).SavedIcon(), QString("2"));

        // Still running at the next tick: the icon saved before is kept, not the running one.
        TimerCheckStatTick(table, m_dir.path());
        QCOMPARE(table.Row(1).SavedIcon(), QString("4"));
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
                                  << QList<int>{1, 6} << QByteArray("</srv/b>") << QList<int>{1, 6};
        QTest::newRow("one starts") << QStringList{"/srv/a"} << QStringList() << QStringList{"/srv/b"} << all
                                    << QByteArray("</srv/a></srv/b>") << all;
    }
    void deletedDumpIsWrittenAnew()
    {
        QFETCH(QStringList, running);
        QFETCH(QStringList, ended);
        QFETCH(QStringList, started);
        QFETCH(QList<int>, firstIcons);
        QFETCH(QByteArray, dump);
        QFETCH(QList<int>, icons);
        QVERIFY(ResetStatusDump(m_dir.path()));
        for (const QString& folder : running)
            QVERIFY(AddTextToFile(m_dump, folder));
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
