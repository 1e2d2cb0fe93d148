// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/headlessprogram.h"

// scourwell --headless as it is built: signals that reload and stop it.
class TestHeadlessStop : public QObject, private HeadlessProgram
{
    Q_OBJECT

private Q_SLOTS:
    void init() { Reset(); }

    // SIGHUP reads the file again and goes on; it neither ends the program nor a run.
    void hangUpReloads()
    {
        QTemporaryDir jobs;
        WriteConfig({}, FullForm(QDateTime::currentDateTime()));
        QProcess process;
        Start(process);
        QTRY_COMPARE(ReadAll(m_program.filePath("statdump.tmp")), StatDumpFirstLine);
        SendSignal(process, SIGHUP);
        QByteArray output;
        const QByteArray reloaded = "reloaded: " + m_program.filePath("ConfigDat.ini").toUtf8() + "\njobs: ";
        QTRY_VERIFY((output += process.readAllStandardOutput()).contains(QByteArray(reloaded + "0 loaded")));
        // A changed file is read again at the next check, and said so too.
        MissedJob(jobs);
        QTRY_VERIFY_WITH_TIMEOUT((output += process.readAllStandardOutput()).contains("finished: "), 15000);
        QVERIFY2(output.contains(QByteArray(reloaded + "1 loaded")), output.constData());
        QCOMPARE(process.state(), QProcess::Running);
        QVERIFY(!QFileInfo::exists(jobs.filePath("old")));
        Terminate(process);
    }

    // A run that cannot stop (its row waits for a week log that is a pipe nobody reads, as a
    // folder on a hung mount would) does not keep a stop from ending the program: it is named
    // and the program ends with 1, after the bound or at a second signal.
    void stopEndsDespiteARunThatDoesNotStop_data()
    {
        QTest::addColumn<int>("signalCount");
        QTest::newRow("after the bound") << 1;
        QTest::newRow("second signal") << 2;
    }

    void stopEndsDespiteARunThatDoesNotStop()
    {
        QFETCH(int, signalCount);
        QTemporaryDir jobs;
        MissedJob(jobs);
        const QString log = GetLogFileName(m_program.path(), QDateTime::currentDateTime());
        QVERIFY(::mkfifo(QFile::encodeName(log).constData(), 0600) == 0);
        const auto removeLog = qScopeGuard([&] { QFile::remove(log); });
        QProcess process;
        Start(process);
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += process.readAllStandardOutput()).contains("started: "), 15000);
        QTRY_VERIFY(!QFileInfo::exists(jobs.filePath("old")));
        for (int i = 0; i < signalCount; ++i)
            SendSignal(process, SIGTERM);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(process.readAllStandardError(),
                 QByteArray("not stopped: " + jobs.path().toUtf8() + " [Files Only]\n"));
    }
};

QTEST_GUILESS_MAIN(TestHeadlessStop)
#include "tst_headlessstop.moc"
