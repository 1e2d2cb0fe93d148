// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/runtime.h"
#include "purge/logmod.h"
#include "purge/stringhandling.h"
#include "shared/clsini.h"
#include "shared/programfolder.h"
#include "support/purgetestfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Jobs written into ConfigDat.ini as a hand would write them, and the file read back.
struct Job
{
    QString folder;
    QString style = "Routine";
    QString purgeStyle = "Files Only";
    QString every = "5";
    QString everyUnit = "Minute";
    QString valPurge = "1";
};

inline QByteArray JobText(int section, const Job& job, const QString& nextRun)
{
    return "[" + QByteArray::number(section) + "]\r\nFolderLoc=" + job.folder.toUtf8() +
           "\r\nStatus=Enabled\r\nValPurge=" + job.valPurge.toUtf8() +
           "\r\nValOfPurge=Day\r\nStyle=" + job.style.toUtf8() +
           "\r\nFileFolderStyle=" + job.purgeStyle.toUtf8() + "\r\nValEvery=" + job.every.toUtf8() +
           "\r\nValOfEvery=" + job.everyUnit.toUtf8() + "\r\nNextRun=" + nextRun.toUtf8() +
           "\r\nDescription=\r\n";
}

inline void WriteJobs(const QString& programFolder, const QByteArray& initial, const QList<QByteArray>& jobs,
                      const QByteArray& deleteSpecific = "0")
{
    QFile file(ConfigDatPath(programFolder));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Initial]\r\nLookPurgeBy=Date: Last Modified\r\nDeleteSpecific=" + deleteSpecific + "\r\n" +
               initial + "TotalJob=" + QByteArray::number(jobs.size()) + "\r\n" + jobs.join());
}

inline QString Stored(const QString& programFolder, const QString& section, const QString& key)
{
    clsIni ini;
    ini.SetIniPath(ConfigDatPath(programFolder));
    return ini.GetIniSetting(section, key);
}

// scourwell --headless as it is built, run from a program folder of its own.
class HeadlessProgram
{
protected:
    QTemporaryDir m_program;
    QString m_exe;

    // A copy, because the program folder is the folder of the executable.
    void InstallProgram()
    {
        m_exe = m_program.filePath("scourwell");
        if (!QFileInfo::exists(m_exe))
            QVERIFY(QFile::copy(SCOURWELL_EXECUTABLE, m_exe));
    }

    void WriteConfig(const QList<Job>& jobs, const QString& nextRun, const QByteArray& initial = {})
    {
        QList<QByteArray> texts;
        for (int i = 0; i < jobs.size(); ++i)
            texts << JobText(i + 1, jobs[i], nextRun);
        WriteJobs(m_program.path(), initial, texts, "1");
    }

    void Start(QProcess& process)
    {
        process.setProgram(m_exe);
        process.setArguments({"--headless"});
        process.start();
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY(QFileInfo::exists(m_program.filePath(".scourwell.lock")));
    }

    void Terminate(QProcess& process)
    {
        process.terminate();
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }

    static void SendSignal(QProcess& process, int signalNumber)
    {
        QCOMPARE(::kill(static_cast<pid_t>(process.processId()), signalNumber), 0);
    }

    // A job on a folder with one old file whose run was missed an hour ago: the file asks
    // for missed runs to run once, so the first tick runs it whatever second of the minute it
    // comes at. Returns the missed NextRun.
    QString MissedJob(QTemporaryDir& jobs)
    {
        const QDateTime now = QDateTime::currentDateTime();
        MakeFile(jobs.filePath("old"), now.addDays(-10));
        const QString missed = FullForm(now.addSecs(-3600));
        WriteConfig({{jobs.path()}}, missed, "MissedRun=RunOnce\r\n");
        return missed;
    }

    void Reset()
    {
        InstallProgram();
        QFile::remove(m_program.filePath("ConfigDat.ini"));
        QDir(m_program.filePath("Logs")).removeRecursively();
    }
};
