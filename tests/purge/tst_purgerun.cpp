// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/logmod.h"
#include "purge/purgerun.h"
#include "purge/runrecord.h"
#include "purge/scourwellthread.h"
#include "purge/stringhandling.h"
#include "shared/programfolder.h"
#include "support/mockclock.h"
#include "support/purgetestfiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

const QDateTime Now = QDateTime::currentDateTime();
const QDateTime Old = Now.addDays(-10);

int Entries(const QString& folder, QDir::Filters filters)
{
    return static_cast<int>(QDir(folder).entryList(filters | QDir::NoDotAndDotDot).size());
}

LaunchValues Values(const QString& folder, const QString& style)
{
    return {folder,
            "Enabled",
            "1",
            "Day",
            "Routine",
            style,
            "5",
            "Minute",
            "12/08/2026 10:00 AM",
            "Date: Last Modified"};
}

QByteArray Row(const LaunchValues& v, const QString& files, const QString& subfolders)
{
    const QStringList cells = {v.folder,    v.status,     v.threshold + ' ' + v.thresholdUnit,
                               v.startedAs, v.purgeStyle, v.recurrenceCount + ' ' + v.recurrenceUnit,
                               v.runTime,   v.dateKind,   files,
                               subfolders};
    return LogRow(cells);
}

// Holds the first caller of Now() until the test opens the gate: a run stands still there
// with its marker in place.
class GateClock : public Clock
{
public:
    QDateTime Now() const override
    {
        if (!m_passed.exchange(true)) {
            m_waiting.release();
            m_open.acquire();
        }
        return ::Now;
    }
    bool WaitUntilHeld() { return m_waiting.tryAcquire(1, 10000); }
    void Open() { m_open.release(); }

private:
    mutable std::atomic_bool m_passed = false;
    mutable QSemaphore m_waiting;
    mutable QSemaphore m_open;
};

} // namespace

class TestPurgeRun : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_program;
    QTemporaryDir m_jobs;
    QString m_folder;
    QString m_dump;

    QString LogFile() const { return GetLogFileName(m_program.path(), Now); }
    // The week log after the header block that the first row writes.
    QByteArray LogRows() const
    {
        const QByteArray log = ReadAll(LogFile());
        const QByteArray headerEnd = "</tr>\r\n";
        return log.startsWith("<title>") ? log.mid(log.indexOf(headerEnd) + headerEnd.size()) : log;
    }

private Q_SLOTS:
    void init()
    {
        m_dump = StatDumpPath(m_program.path());
        QVERIFY(ResetStatusDump(m_program.path()));
        QDir(LogsFolder(m_program.path())).removeRecursively();
        QFile::remove(LogsFolder(m_program.path()));
        static int next = 0;
        m_folder = m_jobs.filePath("job" + QString::number(++next));
        QVERIFY(QDir().mkpath(m_folder));
    }

    void runEndsWithRowAndWithoutMarker_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("styleText");
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("subfolders");
        QTest::addColumn<int>("filesLeft");
        QTest::addColumn<int>("subfolderFilesLeft");
        QTest::addColumn<int>("subfoldersLeft");
        QTest::newRow("files") << int(PurgeStyle::FilesOnly) << "Files Only"
                               << "2"
                               << "&nbsp" << 1 << 2 << 2;
        QTest::newRow("files in subfolders")
            << int(PurgeStyle::IncludeFilesInSubfolders) << "Include Files in Subfolders"
            << "1"
            << "&nbsp" << 3 << 1 << 2;
        QTest::newRow("subfolders") << int(PurgeStyle::SubfoldersOnly) << "Subfolders Only"
                                    << "&nbsp"
                                    << "1" << 3 << 1 << 1;
    }

    // Old files a, b and young c on top; old folder "old" with an old file, young folder "new"
    // with a young file.
    void runEndsWithRowAndWithoutMarker()
    {
        QFETCH(int, style);
        QFETCH(QString, styleText);
        QFETCH(QString, files);
        QFETCH(QString, subfolders);
        QFETCH(int, filesLeft);
        QFETCH(int, subfolderFilesLeft);
        QFETCH(int, subfoldersLeft);
        MakeFile(m_folder + "/a", Old);
        MakeFile(m_folder + "/b", Old);
        MakeFile(m_folder + "/c", Now);
        QVERIFY(QDir(m_folder).mkdir("old"));
        MakeFile(m_folder + "/old/f", Old);
        SetModified(m_folder + "/old", Old);
        QVERIFY(QDir(m_folder).mkdir("new"));
        MakeFile(m_folder + "/new/g", Now);

        GateClock clock;
        const LaunchValues values = Values(m_folder, styleText);
        PurgeRun run(PurgeStyle(style), values, m_program.path(), {}, clock);
        QVERIFY(run.ThreadId() != 0);
        QThread* finishedOn = nullptr;
        connect(&run, &PurgeRun::Finished, this, [&] { finishedOn = QThread::currentThread(); });
        QSignalSpy finished(&run, &PurgeRun::Finished);
        run.Begin();

        QVERIFY(clock.WaitUntilHeld());
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine + '<' + m_folder.toUtf8() + '>');
        QVERIFY(!run.IsFinished());
        clock.Open();

        QVERIFY(finished.wait(10000));
        QCOMPARE(finishedOn, QThread::currentThread());
        QVERIFY(run.IsFinished());
        QCOMPARE(QString::number(finished.at(0).at(0).toLongLong()), files == "&nbsp" ? subfolders : files);
        QCOMPARE(LogRows(), Row(values, files, subfolders));
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine);
        QCOMPARE(Entries(m_folder, QDir::Files), filesLeft);
        QCOMPARE(Entries(m_folder, QDir::Dirs), subfoldersLeft);
        QCOMPARE(Entries(m_folder + "/old", QDir::Files) + Entries(m_folder + "/new", QDir::Files),
                 subfolderFilesLeft);
    }

    // Launch values that name no threshold, unit or date kind (a hand-edited file) delete
    // nothing, and the run still ends with its row, counting 0, and without its marker.
    void unreadableValuesDeleteNothing_data()
    {
        QTest::addColumn<QString>("threshold");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("dateKind");
        QTest::newRow("threshold no number") << "ten"
                                             << "Day"
                                             << "Date: Last Modified";
        QTest::newRow("negative threshold") << "-1"
                                            << "Day"
                                            << "Date: Last Modified";
        QTest::newRow("unknown unit") << "1"
                                      << "Week"
                                      << "Date: Last Modified";
        QTest::newRow("unknown date kind") << "1"
                                           << "Day"
                                           << "Date: Changed";
    }

    void unreadableValuesDeleteNothing()
    {
        QFETCH(QString, threshold);
        QFETCH(QString, unit);
        QFETCH(QString, dateKind);
        MakeFile(m_folder + "/a", Old);
        LaunchValues values = Values(m_folder, "Files Only");
        values.threshold = threshold;
        values.thresholdUnit = unit;
        values.dateKind = dateKind;
        PurgeRun run(PurgeStyle::FilesOnly, values, m_program.path(), {}, Clock::System());
        QSignalSpy finished(&run, &PurgeRun::Finished);
        run.Begin();
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.at(0).at(0).toLongLong(), 0);
        QVERIFY(QFileInfo::exists(m_folder + "/a"));
        QCOMPARE(LogRows(), Row(values, "0", "&nbsp"));
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine);
    }

    // While the run goes, its progress counts the items decided, those that go and their
    // bytes, and names the folder; at its end the counts are the run's.
    void progressGrowsWhileRunning()
    {
        constexpr int oldFiles = 150;
        constexpr int youngFiles = 50;
        const QByteArray tenBytes = "0123456789";
        for (int i = 0; i < oldFiles + youngFiles; ++i) {
            const QString path = m_folder + "/f" + QString::number(i);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(tenBytes);
            file.close();
            SetModified(path, i < oldFiles ? Old : Now);
        }
        MockClock clock(Now);
        PurgeRun run(PurgeStyle::FilesOnly, Values(m_folder, "Files Only"), m_program.path(), {}, clock);
        QSemaphore reached;
        QSemaphore resume;
        int items = 0;
        run.SetItemHook([&] {
            if (++items == 100) {
                reached.release();
                resume.acquire();
            }
        });
        const auto release = qScopeGuard([&] { resume.release(); });
        QSignalSpy finished(&run, &PurgeRun::Finished);
        QCOMPARE(run.Progress().examined, 0);
        run.Begin();
        QVERIFY(reached.tryAcquire(1, 10000));

        const RunProgress midway = run.Progress();
        QVERIFY2(midway.examined >= 98 && midway.examined <= 100, QByteArray::number(midway.examined));
        QVERIFY(midway.removed <= midway.examined);
        QCOMPARE(midway.bytes, midway.removed * tenBytes.size());
        QCOMPARE(midway.folder, m_folder);
        resume.release();

        QVERIFY(finished.wait(10000));
        const RunProgress end = run.Progress();
        QCOMPARE(end.examined, oldFiles + youngFiles);
        QCOMPARE(end.removed, oldFiles);
        QCOMPARE(end.bytes, oldFiles * tenBytes.size());
        QCOMPARE(run.Count(), oldFiles);
    }

    // A run records each item it removed; a trash run moves it to the trash and says where,
    // and its week-log row is a deleting run's.
    void recordsEachItem_data()
    {
        QTest::addColumn<bool>("moveToTrash");
        QTest::newRow("delete") << false;
        QTest::newRow("trash") << true;
    }
    void recordsEachItem()
    {
        QFETCH(bool, moveToTrash);
        const QString data = m_jobs.filePath("data");
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        MakeFile(m_folder + "/old", Old);
        MakeFile(m_folder + "/new", Now);
        const MockClock clock(Now);
        LaunchValues values = Values(m_folder, "Files Only");
        values.moveToTrash = moveToTrash;
        PurgeRun run(PurgeStyle::FilesOnly, values, m_program.path(), {}, clock);
        QSignalSpy finished(&run, &PurgeRun::Finished);
        run.Begin();
        QVERIFY(finished.wait(10000));
        QCOMPARE(LogRows(), Row(values, "1", "&nbsp"));
        QVERIFY(!QFileInfo::exists(m_folder + "/old"));
        const QString trashed = data + "/Trash/files/old";
        QCOMPARE(QFileInfo::exists(trashed), moveToTrash);
        const std::vector<RunRecord> records = ReadRunRecords(m_program.path());
        QCOMPARE(records.size(), size_t(1));
        // The run names its record, so that its notification can undo it.
        QCOMPARE(run.RecordFile(), records[0].file);
        const std::optional<RunRecord> record = ReadRunRecord(records[0].file);
        QVERIFY(record);
        QCOMPARE(record->removal, moveToTrash ? Removal::MoveToTrash : Removal::Delete);
        QCOMPARE(record->end, RecordEnd::Complete);
        QCOMPARE(record->items.size(), size_t(1));
        QCOMPARE(record->items[0].path, QFile::encodeName(m_folder + "/old"));
        QCOMPARE(record->items[0].trashPath, moveToTrash ? QFile::encodeName(trashed) : QByteArray());
    }

    void stopEndsTheRunWithItsRow()
    {
        constexpr int total = 300;
        for (int i = 0; i < total; ++i)
            MakeFile(m_folder + "/f" + QString::number(i), Old);
        GateClock clock;
        const LaunchValues values = Values(m_folder, "Files Only");
        PurgeRun run(PurgeStyle::FilesOnly, values, m_program.path(), {}, clock);
        QSignalSpy finished(&run, &PurgeRun::Finished);
        run.Begin();
        QVERIFY(clock.WaitUntilHeld());
        run.RequestStop();
        clock.Open();

        QVERIFY(finished.wait(10000));
        const qint64 count = finished.at(0).at(0).toLongLong();
        QVERIFY(count < total);
        QCOMPARE(Entries(m_folder, QDir::Files), total - count);
        QCOMPARE(LogRows(), Row(values, QString::number(count) + " (stopped)", "&nbsp"));
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine);
    }

    // Two old folders of 100 old files each; the stop comes at a set item of the walk. The
    // walk asks once per folder and once per file, in Subfolders Only once more per file (a
    // folder is read through before its removal), so the counts do not depend on the order.
    void stopWithinAFolderKeepsItsRest_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("styleText");
        QTest::addColumn<int>("stopAt");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("filesLeft");
        QTest::addColumn<int>("foldersLeft");
        QTest::newRow("removing the first folder")
            << int(PurgeStyle::SubfoldersOnly) << "Subfolders Only" << 150 << 0 << 152 << 2;
        QTest::newRow("removing the second folder")
            << int(PurgeStyle::SubfoldersOnly) << "Subfolders Only" << 352 << 1 << 51 << 1;
        QTest::newRow("files in subfolders") << int(PurgeStyle::IncludeFilesInSubfolders)
                                             << "Include Files in Subfolders" << 50 << 48 << 152 << 2;
    }
    void stopWithinAFolderKeepsItsRest()
    {
        QFETCH(int, style);
        QFETCH(QString, styleText);
        QFETCH(int, stopAt);
        QFETCH(int, count);
        QFETCH(int, filesLeft);
        QFETCH(int, foldersLeft);
        for (const QString sub : {m_folder + "/d0", m_folder + "/d1"}) {
            QVERIFY(QDir().mkdir(sub));
            for (int i = 0; i < 100; ++i)
                MakeFile(sub + "/f" + QString::number(i), Old);
            SetModified(sub, Old);
        }

        MockClock clock(Now);
        const LaunchValues values = Values(m_folder, styleText);
        PurgeRun run(PurgeStyle(style), values, m_program.path(), {}, clock);
        int items = 0;
        run.SetItemHook([&] {
            if (++items == stopAt)
                run.RequestStop();
        });
        QSignalSpy finished(&run, &PurgeRun::Finished);
        run.Begin();
        QVERIFY(finished.wait(10000));

        QCOMPARE(finished.at(0).at(0).toLongLong(), count);
        const bool subfolders = style == int(PurgeStyle::SubfoldersOnly);
        const QString number = QString::number(count) + " (stopped)";
        QCOMPARE(LogRows(), Row(values, subfolders ? "&nbsp" : number, subfolders ? number : "&nbsp"));
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine);
        QCOMPARE(Entries(m_folder, QDir::Dirs), foldersLeft);
        int left = 0;
        for (const QString& sub : QDir(m_folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            left += Entries(m_folder + '/' + sub, QDir::Files);
        QCOMPARE(left, filesLeft);
    }

    void stopBeforeBeginDeletesNothing()
    {
        MakeFile(m_folder + "/a", Old);
        MockClock clock(Now);
        const LaunchValues values = Values(m_folder, "Files Only");
        ScourwellThread threads(m_program.path(), {}, clock, [](PurgeRun& run) { run.RequestStop(); });
        threads.RunNowPurgeFiles(values);
        threads.WaitAll();
        QCOMPARE(threads.RunningCount(), 0);
        QCOMPARE(Entries(m_folder, QDir::Files), 1);
        QCOMPARE(LogRows(), Row(values, "0 (stopped)", "&nbsp"));
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine);
    }

    void unwritableLogsStillEndsTheRun()
    {
        MakeFile(m_folder + "/a", Old);
        QFile blocker(LogsFolder(m_program.path()));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        MockClock clock(Now);
        PurgeRun run(PurgeStyle::FilesOnly, Values(m_folder, "Files Only"), m_program.path(), {}, clock);
        QSignalSpy finished(&run, &PurgeRun::Finished);
        run.Begin();
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.at(0).at(0).toLongLong(), 1);
        QCOMPARE(Entries(m_folder, QDir::Files), 0);
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine);
        QVERIFY(QFileInfo(LogsFolder(m_program.path())).isFile());
    }

    // Four runs of each whole-folder style and two of the other on one folder. Old folders
    // hold young files and young folders old files, so each item has one style that takes it.
    void tenRunsAtOnce()
    {
        constexpr int topFiles = 40;
        constexpr int oldFolders = 10;
        constexpr int youngFolders = 10;
        constexpr int filesPerFolder = 8;
        for (int i = 0; i < topFiles; ++i)
            MakeFile(m_folder + "/t" + QString::number(i), Old);
        for (int i = 0; i < oldFolders + youngFolders; ++i) {
            const bool old = i < oldFolders;
            const QString sub = m_folder + "/d" + QString::number(i);
            QVERIFY(QDir().mkdir(sub));
            for (int j = 0; j < filesPerFolder; ++j)
                MakeFile(sub + "/f" + QString::number(j), old ? Now : Old);
            SetModified(sub, old ? Old : Now);
        }

        MockClock clock(Now);
        QMap<QString, qint64> counts;
        QList<quint64> threadIds;
        int finished = 0;
        // Straight on PurgeRun: the launcher starts one run per folder at a time, but runs of
        // other processes (headless, --purge) may overlap in one folder.
        std::vector<std::unique_ptr<PurgeRun>> runs;
        const auto start = [&](PurgeStyle style, const char* fileFolderStyle) {
            runs.push_back(std::make_unique<PurgeRun>(style, Values(m_folder, fileFolderStyle),
                                                      m_program.path(), QStringList(), clock));
            PurgeRun& run = *runs.back();
            threadIds.append(run.ThreadId());
            connect(&run, &PurgeRun::Finished, this, [&, style = run.Values().purgeStyle](qint64 n) {
                counts[style] += n;
                ++finished;
            });
            run.Begin();
        };
        for (int i = 0; i < 4; ++i) {
            start(PurgeStyle::FilesOnly, "Files Only");
            start(PurgeStyle::SubfoldersOnly, "Subfolders Only");
            if (i < 2)
                start(PurgeStyle::IncludeFilesInSubfolders, "Include Files in Subfolders");
        }
        QCOMPARE(threadIds.size(), 10);
        QVERIFY(!threadIds.contains(0));
        QTRY_COMPARE_WITH_TIMEOUT(finished, 10, 20000);

        QCOMPARE(counts["Files Only"], topFiles);
        QCOMPARE(counts["Subfolders Only"], oldFolders);
        QCOMPARE(counts["Include Files in Subfolders"], youngFolders * filesPerFolder);
        QCOMPARE(Entries(m_folder, QDir::Files), 0);
        QCOMPARE(Entries(m_folder, QDir::Dirs), youngFolders);

        const QByteArray log = ReadAll(LogFile());
        const QRegularExpression row("<tr> \r\n(<td>[^<\r\n]*</td>\r\n){10}</tr>\r\n");
        qsizetype whole = 0;
        for (auto it = row.globalMatch(QString::fromUtf8(log)); it.hasNext(); it.next())
            ++whole;
        QCOMPARE(whole, 10);
        QCOMPARE(log.count("<tr>"), 10);
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine);
    }

    // At exit the launcher stops what still runs and waits for the rows.
    void closingTheLauncherStopsAndWaits()
    {
        constexpr int total = 2000;
        for (int i = 0; i < total; ++i)
            MakeFile(m_folder + "/f" + QString::number(i), Old);
        MockClock clock(Now);
        {
            ScourwellThread threads(m_program.path(), {}, clock);
            QVERIFY(threads.NewFormThread_Files(Values(m_folder, "Files Only")));
            // Refused while the first is under way, however the folder is spelt.
            QVERIFY(!threads.NewFormThread_Files(Values(m_folder + "/", "Files Only")));
            const QString other = m_jobs.filePath("other");
            QVERIFY(QDir().mkpath(other));
            QVERIFY(threads.NewFormThread_Files(Values(other, "Files Only")));
        }
        const QByteArray log = ReadAll(LogFile());
        QCOMPARE(log.count("<tr>"), 2);
        // A run that the close stopped says so beside its count.
        const QRegularExpression count("<td>(\\d+)(?: \\(stopped\\))?</td>\r\n<td>&nbsp</td>");
        qint64 deleted = 0;
        for (auto it = count.globalMatch(QString::fromUtf8(log)); it.hasNext();)
            deleted += it.next().captured(1).toLongLong();
        QCOMPARE(Entries(m_folder, QDir::Files), total - deleted);
        QCOMPARE(ReadAll(m_dump), StatDumpFirstLine);
    }
};

QTEST_GUILESS_MAIN(TestPurgeRun)
#include "tst_purgerun.moc"
