// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/headlessprogram.h"
#include "purge/logmod.h"
#include "purge/trash.h"
#include "support/trashedrecord.h"

// scourwell --headless as it is built: start-up, due and missed runs, the single instance.
class TestHeadlessProgram : public QObject, private HeadlessProgram
{
    Q_OBJECT

private Q_SLOTS:
    void init() { Reset(); }

    void dueJobsRunOnceAndMoveOn()
    {
        // The jobs are due in the present minute; leave it time to be seen by a tick.
        while (QTime::currentTime().second() >= 52)
            QTest::qWait(500);
        const QDateTime now = QDateTime::currentDateTime();
        const QDateTime old = now.addDays(-10);
        QTemporaryDir jobs;
        const QString files = jobs.filePath("files");
        const QString subfolders = jobs.filePath("sub folders");
        const QString nested = jobs.filePath("nested");
        QVERIFY(QDir().mkpath(files) && QDir().mkpath(subfolders + "/old") &&
                QDir().mkpath(subfolders + "/new"));
        QVERIFY(QDir().mkpath(nested + "/s"));
        MakeFile(files + "/a1", old);
        QVERIFY(QFile(files + "/a1").resize(1000));
        SetModified(files + "/a1", old);
        MakeFile(files + "/a2", old);
        MakeFile(files + "/a3", now);
        MakeFile(subfolders + "/old/x", now);
        SetModified(subfolders + "/old", old);
        MakeFile(nested + "/top", old);
        MakeFile(nested + "/s/old", old);
        MakeFile(nested + "/s/new", now);

        const QString minute = FullForm(now);
        WriteConfig({{files},
                     {subfolders, "Specific", "Subfolders Only", "", ""},
                     {nested, "Routine", "Include Files in Subfolders", "1", "Day"}},
                    minute);

        QProcess process;
        Start(process);
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += process.readAllStandardOutput()).count("finished: ") == 3, 20000);
        QVERIFY2(output.contains(QByteArray("started: " + files.toUtf8() + " [Files Only]\n")),
                 output.constData());
        QVERIFY(output.contains(
            QByteArray("finished: " + files.toUtf8() + " [Files Only], 2 deleted, 1000 bytes\n")));
        QVERIFY(output.contains(
            QByteArray("finished: " + subfolders.toUtf8() + " [Subfolders Only], 1 deleted\n")));
        QVERIFY(output.contains(QByteArray("finished: " + nested.toUtf8() +
                                           " [Include Files in Subfolders], 1 deleted, 0 bytes\n")));

        QCOMPARE(QDir(files).entryList(QDir::Files), QStringList{"a3"});
        QCOMPARE(QDir(subfolders).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"new"});
        QCOMPARE(QDir(nested).entryList(QDir::Files), QStringList{"top"});
        QCOMPARE(QDir(nested + "/s").entryList(QDir::Files), QStringList{"new"});

        const QStringList logs = QDir(m_program.filePath("Logs")).entryList({"*.htm"});
        QCOMPARE(logs.size(), 1);
        const QByteArray log = ReadAll(m_program.filePath("Logs/" + logs[0]));
        QVERIFY(log.startsWith("<title>Orvik's Scourwell - Log : "));
        QCOMPARE(log.count("<tr> \r\n"), 3);
        const QString by = "Date: Last Modified";
        QVERIFY(log.contains(LogRow(
            {files, "Enabled", "1 Day", "Routine", "Files Only", "5 Minute", minute, by, "2", "&nbsp"})));
        QVERIFY(log.contains(LogRow({subfolders, "Enabled", "1 Day", "Specific", "Subfolders Only",
                                     "&nbsp &nbsp", minute, by, "&nbsp", "1"})));
        QVERIFY(log.contains(LogRow({nested, "Enabled", "1 Day", "Routine", "Include Files in Subfolders",
                                     "1 Day", minute, by, "1", "&nbsp"})));

        // The Specific job is gone (DeleteSpecific=1); the Routine ones moved on and were saved.
        clsIni ini;
        ini.SetIniPath(m_program.filePath("ConfigDat.ini"));
        QTRY_COMPARE(ini.GetIniSetting("Initial", "TotalJob"), QString("2"));
        const QDateTime due = ParseFullForm(minute).value().ToLocalTime();
        QCOMPARE(ini.GetIniSetting("1", "FolderLoc"), files);
        QCOMPARE(ini.GetIniSetting("1", "NextRun"), FullForm(due.addSecs(5 * 60)));
        QCOMPARE(ini.GetIniSetting("2", "FolderLoc"), nested);
        QCOMPARE(ini.GetIniSetting("2", "NextRun"), FullForm(due.addDays(1)));

        QCOMPARE(ReadAll(m_program.filePath("statdump.tmp")), StatDumpFirstLine);
        Terminate(process);
        QCOMPARE(output + process.readAllStandardOutput(), output);
    }

    // Deleted before the first status tick: that tick shows the job as running and writes the
    // file anew, and a later check tick still launches the job.
    void deletedDumpDoesNotStopTheSchedule()
    {
        QTemporaryDir jobs;
        MissedJob(jobs);

        const QString dump = m_program.filePath("statdump.tmp");
        QFile::remove(dump);
        QProcess process;
        Start(process);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dump), 1000);
        QVERIFY(QFile::remove(dump));
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += process.readAllStandardOutput()).contains("finished: "), 15000);
        QVERIFY2(output.contains(
                     QByteArray("finished: " + jobs.path().toUtf8() + " [Files Only], 1 deleted, 0 bytes\n")),
                 output.constData());
        QCOMPARE(ReadAll(dump), StatDumpFirstLine);
        Terminate(process);
    }

    void startPreparesProgramFolder()
    {
        QFile dump(m_program.filePath("statdump.tmp"));
        QVERIFY(dump.open(QIODevice::WriteOnly | QIODevice::Truncate));
        dump.write("</stale>");
        dump.close();

        QProcess process;
        Start(process);
        QTRY_VERIFY(QFileInfo::exists(m_program.filePath("ConfigDat.ini")));
        QTRY_COMPARE(ReadAll(m_program.filePath("statdump.tmp")), StatDumpFirstLine);
        QVERIFY(QFileInfo(m_program.filePath("Logs")).isDir());
        QVERIFY(ReadAll(m_program.filePath("ConfigDat.ini")).contains("TotalJob=0\r\n"));
        // A newcomer learns where the files are and that there is nothing to do yet.
        QByteArray output;
        QTRY_VERIFY((output += process.readAllStandardOutput()).contains("no job is defined"));
        const QByteArray file = m_program.filePath("ConfigDat.ini").toUtf8();
        const QByteArray said = "program folder: " + m_program.path().toUtf8() + "\njobs: 0 loaded from " +
                                file + "\nno job is defined: add one as a section of " + file;
        QVERIFY2(output.startsWith(said), output.constData());
        Terminate(process);
    }

    // At start the service empties from the trash what its runs moved there long enough ago,
    // and says how much.
    void expiredTrashIsEmptiedAndSaid()
    {
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
        const QString trash = data.filePath("Trash");
        QVERIFY(QDir().mkpath(trash + "/files"));
        QVERIFY(QDir().mkpath(trash + "/info"));
        const QDateTime deleted = QDateTime::currentDateTime().addDays(-8);
        const QByteArray original = QFile::encodeName(data.filePath("job/old"));
        MakeFile(trash + "/files/old", deleted);
        QFile info(trash + "/info/old.trashinfo");
        QVERIFY(info.open(QIODevice::WriteOnly));
        info.write(TrashInfoText(original, deleted));
        info.close();
        WriteConfig({}, {}, "TrashDays=7\r\n");
        RecordTrashRun(m_program.path(), QFile::encodeName(data.filePath("job")), deleted.addSecs(-60),
                       {{original, QFile::encodeName(trash + "/files/old")}});

        QProcess process;
        Start(process);
        QByteArray output;
        QTRY_VERIFY2((output += process.readAllStandardOutput())
                         .contains("emptied from the trash: 1, moved there by runs more than 7 days ago\n"),
                     output.constData());
        QVERIFY(!QFileInfo::exists(trash + "/files/old"));
        QVERIFY(!info.exists());
        Terminate(process);
    }

    // A SIGTERM while a big file loads ends the program like at any other time: exit 0.
    void terminateDuringLoad()
    {
        QByteArray text = "[Initial]\r\nTotalJob=20000\r\n";
        const QByteArray description(1000, 'd');
        for (int i = 1; i <= 20000; ++i)
            text += "[" + QByteArray::number(i) + "]\r\nFolderLoc=/nowhere/" + QByteArray::number(i) +
                    "\r\nStatus=Enabled\r\nDescription=" + description + "\r\n";
        for (int i = 0; i < 100000; ++i)
            text += "[notes]\r\n";
        QFile file(m_program.filePath("ConfigDat.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(text), text.size());
        file.close();

        QProcess process;
        Start(process);
        Terminate(process);
        QCOMPARE(process.readAllStandardError(), QByteArray());
    }

    // The service says which missed runs it moved on, and saves where they went.
    void missedRunIsMovedOnAndSaid()
    {
        QTemporaryDir jobs;
        const QString missed = FullForm(QDateTime::currentDateTime().addDays(-3));
        WriteConfig({{jobs.path()}}, missed);
        QProcess process;
        Start(process);
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += process.readAllStandardOutput()).contains("moved on: "), 10000);
        QTRY_VERIFY((output += process.readAllStandardOutput()).endsWith("\n"));
        const QString next = Stored(m_program.path(), "1", "NextRun");
        const QStringList lines = QString::fromUtf8(output).split(u'\n');
        QCOMPARE(lines.last(), QString());
        QCOMPARE(lines[lines.size() - 2],
                 "moved on: " + jobs.path() + ", missed " + missed + ", next run " + next);
        QVERIFY(ParseFullForm(next).value().ToLocalTime() > QDateTime::currentDateTime());
        Terminate(process);
    }

    // Nobody reads the output any more: the runs go on, write their rows and move on.
    void closedOutputDoesNotEndTheProgram()
    {
        QTemporaryDir jobs;
        const QString missed = MissedJob(jobs);
        QProcess process;
        // Standard output is a pipe whose reader has gone, and SIGPIPE has its default action
        // (QProcess ignores it, and the child would inherit that).
        process.setChildProcessModifier([] {
            int ends[2];
            if (::pipe(ends) == 0) {
                ::close(ends[0]);
                ::dup2(ends[1], STDOUT_FILENO);
                ::close(ends[1]);
            }
            ::signal(SIGPIPE, SIG_DFL);
        });
        Start(process);
        QTRY_VERIFY_WITH_TIMEOUT(Stored(m_program.path(), "1", "NextRun") != missed, 15000);
        QTRY_COMPARE(ReadAll(m_program.filePath("statdump.tmp")), StatDumpFirstLine);
        QVERIFY(!QFileInfo::exists(jobs.filePath("old")));
        const QStringList logs = QDir(m_program.filePath("Logs")).entryList({"*.htm"});
        QCOMPARE(logs.size(), 1);
        QTRY_VERIFY(ReadAll(m_program.filePath("Logs/" + logs[0])).contains(jobs.path().toUtf8()));
        QCOMPARE(process.state(), QProcess::Running);
        Terminate(process);
    }

    void secondInstanceIsRefused()
    {
        QProcess first;
        Start(first);
        QTRY_COMPARE(ReadAll(m_program.filePath("statdump.tmp")), StatDumpFirstLine);
        QFile dump(m_program.filePath("statdump.tmp"));
        QVERIFY(dump.open(QIODevice::Append));
        dump.write("</running>");
        dump.close();

        QProcess second;
        second.start(m_exe, {"--headless"});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(second.readAllStandardError(), QByteArray("Another running instance is detected! \n"));
        QCOMPARE(ReadAll(m_program.filePath("statdump.tmp")), StatDumpFirstLine + "</running>");
        Terminate(first);
    }
};

QTEST_GUILESS_MAIN(TestHeadlessProgram)
#include "tst_headlessprogram.moc"
