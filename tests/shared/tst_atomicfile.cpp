// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobconfig.h"
#include "config/jobtable.h"
#include "shared/atomicfile.h"
#include "shared/clsini.h"
#include "shared/programfolder.h"
#include "support/filelimits.h"
#include "support/inifiles.h"

#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace IniFiles;

namespace {

enum class Saver
{
    Writer,
    IniSetting,
    JobList,
};

// A ConfigDat.ini of `jobs` jobs on folders named after `tag`.
QByteArray JobsFile(int jobs, const QString& tag)
{
    QString text = QStringLiteral("[Initial]\r\nLookPurgeBy=Date: Last Modified\r\nDeleteSpecific=1\r\n"
                                  "TotalJob=%1\r\n")
                       .arg(jobs);
    for (int i = 1; i <= jobs; ++i)
        text += QStringLiteral("[%1]\r\nFolderLoc=/srv/%2/%1\r\nStatus=Enabled\r\nValPurge=30\r\n"
                               "ValOfPurge=Day\r\nStyle=Routine\r\nFileFolderStyle=Files Only\r\n"
                               "ValEvery=1\r\nValOfEvery=Day\r\nNextRun=12/08/2026 10:00 AM\r\n"
                               "Description=\r\n")
                    .arg(i)
                    .arg(tag);
    return text.toUtf8();
}

struct stat StatOf(const QString& path)
{
    struct stat st = {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

} // namespace

class TestAtomicFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A write that meets a full disk anywhere leaves the old file byte for byte, and nothing beside it.
    void fullDiskKeepsOldFile_data()
    {
        QTest::addColumn<Saver>("saver");
        QTest::addColumn<int>("jobs");
        QTest::addColumn<bool>("halfFits"); // else not one byte fits
        QTest::newRow("1 job, nothing fits") << Saver::Writer << 1 << false;
        QTest::newRow("1 job, half fits") << Saver::Writer << 1 << true;
        QTest::newRow("41 jobs, nothing fits") << Saver::Writer << 41 << false;
        QTest::newRow("41 jobs, half fits") << Saver::Writer << 41 << true;
        QTest::newRow("ini setting") << Saver::IniSetting << 41 << true;
        QTest::newRow("job list, 1 job") << Saver::JobList << 1 << true;
        QTest::newRow("job list, 41 jobs") << Saver::JobList << 41 << false;
    }
    void fullDiskKeepsOldFile()
    {
        QFETCH(Saver, saver);
        QFETCH(int, jobs);
        QFETCH(bool, halfFits);
        QTemporaryDir dir;
        const QString path = ConfigDatPath(dir.path());
        const QByteArray old = JobsFile(jobs, "old");
        Write(path, old);
        JobTable table;
        LoadJobList(table, dir.path(), QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
        QCOMPARE(table.Count(), jobs);

        bool saved = true;
        {
            const FileSizeLimit full(halfFits ? static_cast<rlim_t>(old.size() / 2) : 0);
            switch (saver) {
            case Saver::Writer:
                saved = WriteFileAtomically(path, JobsFile(jobs, "new"));
                break;
            case Saver::IniSetting: {
                clsIni ini;
                ini.SetIniPath(path);
                saved = ini.SaveIniSetting("Initial", "LookPurgeBy", "Date: Created");
                break;
            }
            case Saver::JobList:
                saved = SaveJobList(table, dir.path());
                break;
            }
        }
        QVERIFY(!saved);
        QCOMPARE(Read(path), old);
        QCOMPARE(Entries(dir.path()), QStringList{"ConfigDat.ini"});
    }

    // The replacement is given the replaced file's mode (not the umask's) and owner, so that a
    // save as root leaves a file its user can still save over.
    void replacementKeepsModeAndOwner_data()
    {
        QTest::addColumn<bool>("owner");
        QTest::newRow("mode 0640") << false;
        QTest::newRow("owner 65534") << true;
    }
    void replacementKeepsModeAndOwner()
    {
        QFETCH(bool, owner);
        if (owner && ::geteuid() != 0)
            QSKIP("only root can give a file away");
        QTemporaryDir dir;
        const QString path = dir.filePath("ConfigDat.ini");
        Write(path, "[Initial]\r\n");
        const QByteArray name = QFile::encodeName(path);
        QCOMPARE(::chmod(name.constData(), 0640), 0);
        if (owner)
            QCOMPARE(::chown(name.constData(), 65534, 65534), 0);

        QVERIFY(WriteFileAtomically(path, "[Initial]\r\nTotalJob=0\r\n"));
        QCOMPARE(Read(path), QByteArray("[Initial]\r\nTotalJob=0\r\n"));
        const struct stat after = StatOf(path);
        QCOMPARE(after.st_mode & 07777, 0640u);
        if (owner) {
            QCOMPARE(after.st_uid, 65534u);
            QCOMPARE(after.st_gid, 65534u);
        }
    }

    // A file reached through a link is replaced where it lies; the link stays.
    void linkStaysLink()
    {
        QTemporaryDir dir;
        Write(dir.filePath("real.ini"), "old");
        QVERIFY(QFile::link("real.ini", dir.filePath("link.ini")));
        QVERIFY(WriteFileAtomically(dir.filePath("link.ini"), "new"));
        QVERIFY(QFileInfo(dir.filePath("link.ini")).isSymLink());
        QCOMPARE(Read(dir.filePath("real.ini")), QByteArray("new"));
    }

    // The status file's fallback when no new file fits: the same file, shortened in place.
    void overwriteOnlyShrinks_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("done");
        QTest::newRow("shorter") << QByteArray("\0\r\n</a>", 7) << true;
        QTest::newRow("same length") << QByteArray("\0\r\n</a></b>", 11) << true;
        QTest::newRow("longer") << QByteArray("\0\r\n</a></b></c>", 15) << false;
    }
    void overwriteOnlyShrinks()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, done);
        QTemporaryDir dir;
        const QString path = dir.filePath("statdump.tmp");
        const QByteArray old("\0\r\n</b></a>", 11);
        Write(path, old);
        const ino_t inode = StatOf(path).st_ino;
        QCOMPARE(OverwriteFile(path, bytes) == FileWrite::Done, done);
        QCOMPARE(Read(path), done ? bytes : old);
        QCOMPARE(StatOf(path).st_ino, inode);
        QVERIFY(OverwriteFile(dir.filePath("missing"), {}) != FileWrite::Done);
    }

    // An append that does not fit leaves no partial block; an empty file is started whole.
    void appendIsWholeOrNothing_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<rlim_t>("room");
        QTest::addColumn<FileWrite>("result");
        QTest::addColumn<QByteArray>("after");
        const rlim_t unlimited = RLIM_INFINITY;
        QTest::newRow("missing file")
            << QByteArray("<missing>") << unlimited << FileWrite::Done << QByteArray("head+row");
        QTest::newRow("empty file") << QByteArray() << unlimited << FileWrite::Done << QByteArray("head+row");
        QTest::newRow("appended") << QByteArray("head") << unlimited << FileWrite::Done
                                  << QByteArray("headrow");
        QTest::newRow("half fits") << QByteArray("head") << rlim_t(5) << FileWrite::NoSpace
                                   << QByteArray("head");
        QTest::newRow("start does not fit")
            << QByteArray() << rlim_t(5) << FileWrite::NoSpace << QByteArray();
    }
    void appendIsWholeOrNothing()
    {
        QFETCH(QByteArray, before);
        QFETCH(rlim_t, room);
        QFETCH(FileWrite, result);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath("week.htm");
        if (before != "<missing>")
            Write(path, before);
        const FileSizeLimit limit(room);
        QCOMPARE(AppendToFile(path, "row", "head+row"), result);
        QCOMPARE(Read(path), after);
    }
};

QTEST_APPLESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
