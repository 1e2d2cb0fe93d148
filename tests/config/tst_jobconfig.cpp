// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobconfig.h"
#include "config/jobtable.h"
#include "shared/bytetext.h"
#include "shared/clsini.h"
#include "shared/programfolder.h"
#include "support/inifiles.h"
#include "support/jobrows.h"
#include "support/zone.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

Q_DECLARE_METATYPE(MissedRun)
Q_DECLARE_METATYPE(RunResults)

using namespace IniFiles;

namespace {

const QDateTime Now(QDate(2026, 3, 7), QTime(14, 5, 42));

const QByteArray DefaultFile = "# 0 = False, 1 = True\r\n"
                               "# TotalJob is not a false or true condition. Must input Integer\r\n"
                               "\r\n"
                               "[Initial]\r\n"
                               "LookPurgeBy=Date: Last Modified\r\n"
                               "DeleteSpecific=0\r\n"
                               "TotalJob=0\r\n"
                               "\r\n";

QByteArray Initial(const QByteArray& totalJob)
{
    return "[Initial]\r\nLookPurgeBy=Date: Created\r\nDeleteSpecific=1\r\nTotalJob=" + totalJob + "\r\n";
}

QByteArray Job(const QByteArray& section, const QString& folder, const QString& status = "Enabled",
               const QString& nextRun = "03/07/2026 02:10 PM", const QString& description = "d")
{
    return "[" + section + "]\r\n" +
           QStringLiteral("FolderLoc=%1\r\nStatus=%2\r\nValPurge=7\r\nValOfPurge=Day\r\nStyle=Routine\r\n"
                          "FileFolderStyle=Files Only\r\nValEvery=1\r\nValOfEvery=Hour\r\nNextRun=%3\r\n"
                          "Description=%4\r\n")
               .arg(folder, status, nextRun, description)
               .toUtf8();
}

JobRow MakeRow(const QString& folder, const QString& style, const QString& every, const QString& ofEvery)
{
    return RowOf({.folder = folder,
                  .nextRun = "12/31/2026 11:59 PM",
                  .status = "Disabled",
                  .valOfPurge = "Minute",
                  .style = style,
                  .fileFolderStyle = "Subfolders Only",
                  .valEvery = every,
                  .valOfEvery = ofEvery,
                  .description = "keep \"quoted\" text"});
}

std::vector<QStringList> Texts(const JobTable& table)
{
    std::vector<QStringList> texts;
    for (const JobRow& row : table.Rows())
        texts.push_back(TextsOf(row));
    return texts;
}

} // namespace

class TestJobConfig : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_jobs; // folders the jobs point at
    QString JobFolder(const QString& name) const { return m_jobs.filePath(name); }

private Q_SLOTS:
    void initTestCase();
    void defaultConfig();
    void loadFillsCells();
    void icon_data();
    void icon();
    void iconOnSummerTimeNights_data();
    void iconOnSummerTimeNights();
    void saveWritesExactFile();
    void saveAfterRemovingAJob();
    void sectionsAboveOldTotalStay();
    void specificBlanksReadBackEmpty();
    void rowsSurviveSaveAndLoad_data();
    void rowsSurviveSaveAndLoad();
    void latin1FileKeepsItsBytes();
    void handEditedWordsSurvive_data();
    void handEditedWordsSurvive();
    void badInput_data();
    void badInput();
    void failedSaveKeepsFile_data();
    void failedSaveKeepsFile();
    void saveIntoReadOnlyFolder();
    void saveOptions_data();
    void saveOptions();
    void loadChoices_data();
    void loadChoices();
    void moveToTrashKey_data();
    void moveToTrashKey();
    void newJobsMoveToTrash_data();
    void newJobsMoveToTrash();
    void trashDays_data();
    void trashDays();
};

void TestJobConfig::initTestCase()
{
    for (const char* name : {"a", "b", "c", ".hidden", "a/.b/c"})
        QVERIFY(QDir(m_jobs.path()).mkpath(name));
    Write(JobFolder("plain"), "x");
}

void TestJobConfig::defaultConfig()
{
    QTemporaryDir program;
    QVERIFY(CreateDefaultConfig(program.path()));
    QCOMPARE(Read(ConfigDatPath(program.path())), DefaultFile);

    JobTable table;
    LoadOptions(table, program.path());
    QCOMPARE(table.LookPurgeBy().Text(), "Date: Last Modified");
    QCOMPARE(table.DeleteSpecific(), "0");
    LoadJobList(table, program.path(), Now);
    QCOMPARE(table.Count(), 0);

    // An existing file is never touched, whatever it holds.
    Write(ConfigDatPath(program.path()), "mine");
    QVERIFY(CreateDefaultConfig(program.path()));
    QCOMPARE(Read(ConfigDatPath(program.path())), QByteArray("mine"));
}

void TestJobConfig::loadFillsCells()
{
    QTemporaryDir program;
    Write(ConfigDatPath(program.path()),
          Initial("2") + Job("1", JobFolder("a"), "ENABLED", "03/07/2026 02:10 PM", "first") + "[2]\r\n" +
              "description=second\r\nnextrun=03/07/2026 02:00 PM\r\nVALEVERY=\r\nValOfEvery= "
              "\r\nStyle=Specific\r\n"
              "FileFolderStyle=Subfolders Only\r\nValOfPurge=Month\r\nValPurge=2\r\nStatus=Disabled\r\n"
              "FolderLoc=" +
              JobFolder("b").toUtf8() + "\r\n");
    JobTable table;
    table.Append(JobRow{}); // a load replaces what the table held
    LoadJobList(table, program.path(), Now);
    QCOMPARE(table.Count(), 2);

    const JobRow& first = table.Row(0);
    QCOMPARE(first.FolderLoc, JobFolder("a"));
    QCOMPARE(first.Status.Text(), "ENABLED");
    QCOMPARE(first.Status.Value(), JobStatus::Enabled);
    QCOMPARE(first.icon, RowIcon::Enabled);
    const JobRow& second = table.Row(1);
    const QStringList expected{
        JobFolder("b"),        "Disabled", "2", "Month", "Specific", "Subfolders Only", "", "",
        "03/07/2026 02:00 PM", "second"};
    QCOMPARE(TextsOf(second), expected);
    QCOMPARE(second.savedIcon, std::nullopt);
    QCOMPARE(second.icon, RowIcon::DisabledPassed);
}

void TestJobConfig::icon_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("nextRun");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("icon");

    const QString a = JobFolder("a");
    QTest::newRow("enabled, 5 minutes ago") << Now << "Enabled"
                                            << "03/07/2026 02:00 PM" << a << 3;
    QTest::newRow("enabled, 1 minute ago") << Now << "Enabled"
                                           << "03/07/2026 02:04 PM" << a << 3;
    QTest::newRow("enabled, this minute") << Now << "Enabled"
                                          << "03/07/2026 02:05 PM" << a << 1;
    QTest::newRow("enabled, in 5 minutes") << Now << "Enabled"
                                           << "03/07/2026 02:10 PM" << a << 1;
    QTest::newRow("disabled, 5 minutes ago") << Now << "Disabled"
                                             << "03/07/2026 02:00 PM" << a << 4;
    QTest::newRow("disabled, this minute") << Now << "Disabled"
                                           << "03/07/2026 02:05 PM" << a << 2;
    QTest::newRow("disabled, in 5 minutes") << Now << "Disabled"
                                            << "03/07/2026 02:10 PM" << a << 2;
    QTest::newRow("status in capitals") << Now << "ENABLED"
                                        << "03/07/2026 02:00 PM" << a << 3;
    QTest::newRow("unknown status shows disabled, passed") << Now << "Paused"
                                                           << "03/07/2026 02:00 PM" << a << 4;
    QTest::newRow("status Off shows disabled") << Now << "Off"
                                               << "03/07/2026 02:10 PM" << a << 2;
    QTest::newRow("status 0 shows disabled") << Now << "0"
                                             << "03/07/2026 02:10 PM" << a << 2;
    QTest::newRow("empty status") << Now << ""
                                  << "03/07/2026 02:00 PM" << a << 4;
    QTest::newRow("PM later than AM") << QDateTime(QDate(2026, 3, 7), QTime(11, 30)) << "Enabled"
                                      << "03/07/2026 01:00 PM" << a << 1;
    QTest::newRow("last minute of the year passed")
        << QDateTime(QDate(2026, 1, 1), QTime(0, 0, 10)) << "Enabled"
        << "12/31/2025 11:59 PM" << a << 3;
    QTest::newRow("midnight is 12 AM") << QDateTime(QDate(2026, 1, 1), QTime(0, 0, 10)) << "Enabled"
                                       << "01/01/2026 12:00 AM" << a << 1;
    QTest::newRow("December before January") << QDateTime(QDate(2026, 12, 31), QTime(9, 0)) << "Disabled"
                                             << "01/01/2027 09:00 AM" << a << 2;
    QTest::newRow("enabled, NextRun not a date") << Now << "Enabled"
                                                 << "tomorrow" << a << 3;
    QTest::newRow("disabled, NextRun empty") << Now << "Disabled"
                                             << "" << a << 4;
    QTest::newRow("folder removed, enabled") << Now << "Enabled"
                                             << "03/07/2026 02:10 PM" << JobFolder("gone") << 5;
    QTest::newRow("folder removed, disabled") << Now << "Disabled"
                                              << "03/07/2026 02:00 PM" << JobFolder("gone") << 5;
    // Hidden means entries inside a job folder, never the folder the person named.
    QTest::newRow("dot-named job folder") << Now << "Enabled"
                                          << "03/07/2026 02:10 PM" << JobFolder(".hidden") << 1;
    QTest::newRow("below a dot-named folder") << Now << "Enabled"
                                              << "03/07/2026 02:10 PM" << JobFolder("a/.b/c") << 1;
    QTest::newRow("dot-named, trailing slash") << Now << "Enabled"
                                               << "03/07/2026 02:10 PM" << JobFolder("a/.b/") << 1;
    QTest::newRow("relative path is not found") << Now << "Enabled"
                                                << "03/07/2026 02:10 PM"
                                                << "a" << 5;
    QTest::newRow("empty folder") << Now << "Enabled"
                                  << "03/07/2026 02:10 PM"
                                  << "" << 5;
    QTest::newRow("trailing separator") << Now << "Enabled"
                                        << "03/07/2026 02:10 PM" << a + "/" << 1;
    QTest::newRow("a file is found too") << Now << "Enabled"
                                         << "03/07/2026 02:10 PM" << JobFolder("plain") << 1;
}

void TestJobConfig::icon()
{
    QFETCH(QDateTime, now);
    QFETCH(QString, status);
    QFETCH(QString, nextRun);
    QFETCH(QString, folder);
    QFETCH(int, icon);
    QTemporaryDir program;
    Write(ConfigDatPath(program.path()), Initial("1") + Job("1", folder, status, nextRun));
    JobTable table;
    LoadJobList(table, program.path(), now);
    QCOMPARE(table.Count(), 1);
    QCOMPARE(int(table.Row(0).icon), icon);
    QCOMPARE(table.Row(0).Status.Text(), status);
    QCOMPARE(table.Row(0).NextRun, nextRun);
}

// The load compares the run time with the present on the wall clock, and a save writes the
// run time back as it was read, also one that the clock skips or repeats.
void TestJobConfig::iconOnSummerTimeNights_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("nextRun");
    QTest::addColumn<int>("icon");
    QTest::newRow("skipped time passed, Berlin") << QByteArray("Europe/Berlin") << "03/29/2026 03:10 AM"
                                                 << "03/29/2026 02:30 AM" << 3;
    QTest::newRow("skipped time to come, Berlin") << QByteArray("Europe/Berlin") << "03/29/2026 01:59 AM"
                                                  << "03/29/2026 02:30 AM" << 1;
    QTest::newRow("skipped time passed, New York") << QByteArray("America/New_York") << "03/08/2026 03:00 AM"
                                                   << "03/08/2026 02:59 AM" << 3;
    QTest::newRow("skipped at midnight, Havana") << QByteArray("America/Havana") << "03/08/2026 01:00 AM"
                                                 << "03/08/2026 12:00 AM" << 3;
    QTest::newRow("repeated time, Sydney") << QByteArray("Australia/Sydney") << "04/05/2026 02:30 AM"
                                           << "04/05/2026 02:30 AM" << 1;
}

void TestJobConfig::iconOnSummerTimeNights()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, now);
    QFETCH(QString, nextRun);
    QFETCH(int, icon);
    const auto restore = ScopedZone(zone);
    QTemporaryDir program;
    const QByteArray file = Initial("1") + Job("1", JobFolder("a"), "Enabled", nextRun);
    Write(ConfigDatPath(program.path()), file);
    for (const QDateTime& at : Instants(now)) {
        JobTable table;
        LoadJobList(table, program.path(), at);
        QCOMPARE(int(table.Row(0).icon), icon);
        QVERIFY(SaveJobList(table, program.path()));
        QCOMPARE(Read(ConfigDatPath(program.path())), file);
    }
}

void TestJobConfig::saveWritesExactFile()
{
    QTemporaryDir program;
    const QByteArray before = "# 0 = False, 1 = True\r\n\r\n" + Initial("2") + "\r\n" +
                              Job("1", JobFolder("b"), "Disabled") + "\r\n" + Job("2", JobFolder("a")) +
                              "[Other]\r\nkept=yes\r\n";
    Write(ConfigDatPath(program.path()), before);
    JobTable table;
    LoadJobList(table, program.path(), Now);
    QCOMPARE(FoldersOf(table), (QStringList{JobFolder("b"), JobFolder("a")}));
    table.Append(MakeRow(JobFolder("c"), "Routine", "2", "Hour"));
    QVERIFY(SaveJobList(table, program.path()));

    const QByteArray saved = Read(ConfigDatPath(program.path()));
    const QByteArray expected = "# 0 = False, 1 = True\r\n\r\n" + Initial("3") + "\r\n" +
                                "[Other]\r\nkept=yes\r\n" + Job("1", JobFolder("b"), "Disabled") +
                                Job("2", JobFolder("a")) + "[3]\r\nFolderLoc=" + JobFolder("c").toUtf8() +
                                "\r\nStatus=Disabled\r\nValPurge=30\r\nValOfPurge=Minute\r\nStyle=Routine\r\n"
                                "FileFolderStyle=Subfolders Only\r\nValEvery=2\r\nValOfEvery=Hour\r\n"
                                "NextRun=12/31/2026 11:59 PM\r\nDescription=keep \"quoted\" text\r\n";
    QCOMPARE(saved, expected);
    QCOMPARE(Entries(program.path()), QStringList{"ConfigDat.ini"});

    // What a save writes loads back as the same rows, and saves again to the same bytes.
    JobTable reloaded;
    LoadJobList(reloaded, program.path(), Now);
    QVERIFY(Texts(reloaded) == Texts(table));
    QVERIFY(SaveJobList(reloaded, program.path()));
    QCOMPARE(Read(ConfigDatPath(program.path())), expected);
}

void TestJobConfig::saveAfterRemovingAJob()
{
    QTemporaryDir program;
    Write(ConfigDatPath(program.path()),
          Initial("3") + Job("1", JobFolder("a")) + Job("2", JobFolder("b")) + Job("3", JobFolder("c")));
    JobTable table;
    LoadJobList(table, program.path(), Now);
    table.Remove(1);
    QVERIFY(SaveJobList(table, program.path()));
    QCOMPARE(Read(ConfigDatPath(program.path())),
             Initial("2") + Job("1", JobFolder("a")) + Job("2", JobFolder("c")));
}

void TestJobConfig::sectionsAboveOldTotalStay()
{
    // Only sections 1..TotalJob are job sections; a numbered section above stays as it is.
    QTemporaryDir program;
    const QByteArray above = "[9]\r\nFolderLoc=/not/a/job\r\nNote=hand-made\r\n";
    Write(ConfigDatPath(program.path()), Initial("1") + Job("1", JobFolder("a")) + above);
    JobTable table;
    LoadJobList(table, program.path(), Now);
    QCOMPARE(table.Count(), 1);
    table.Append(MakeRow(JobFolder("b"), "Routine", "1", "Day"));
    QVERIFY(SaveJobList(table, program.path()));
    const QByteArray saved = Read(ConfigDatPath(program.path()));
    QVERIFY(saved.contains(above));
    QVERIFY(saved.contains("TotalJob=2\r\n"));
    JobTable reloaded;
    LoadJobList(reloaded, program.path(), Now);
    QVERIFY(Texts(reloaded) == Texts(table));
}

void TestJobConfig::specificBlanksReadBackEmpty()
{
    QTemporaryDir program;
    JobTable table;
    table.Append(MakeRow(JobFolder("a"), "Specific", " ", " "));
    QVERIFY(SaveJobList(table, program.path()));
    QVERIFY(Read(ConfigDatPath(program.path())).contains("ValEvery= \r\nValOfEvery= \r\n"));
    LoadJobList(table, program.path(), Now);
    QCOMPARE(table.Row(0).ValEvery, "");
    QCOMPARE(table.Row(0).ValOfEvery.Text(), "");
}

void TestJobConfig::rowsSurviveSaveAndLoad_data()
{
    QTest::addColumn<QString>("value");
    const QStringList values = {
        "",
        " ",
        "  ",
        " a",
        "a ",
        "\ta\t",
        "\t",
        "\va\f",
        "\"x\"",
        "'x'",
        "\"x",
        "x'",
        "\"",
        "''",
        "\" a \"",
        "\"'",
        "a=b",
        "=",
        "[1]",
        "[Initial]",
        "#c",
        ";c",
        " #c ",
        QString::fromUtf8("Ärger ß 日本 😀"),
        QString::fromUtf8("a\0b", 3),
        TextFromBytes("caf\xE9"),
        TextFromBytes(" \xFF\xFE\xE9 "),
        TextFromBytes("\xC3"),
        " " + QString(100000, 'x') + "\t",
    };
    for (const QString& value : values)
        QTest::newRow(qPrintable(value.left(12).toUtf8().toPercentEncoding(" "))) << value;
}

void TestJobConfig::rowsSurviveSaveAndLoad()
{
    // The value in every field of one row, and in the recurrence of a Specific job.
    QFETCH(QString, value);
    const JobRow everywhere = RowOf({value, value, value, value, value, value, value, value, value, value});
    JobTable table;
    table.Append(everywhere);
    table.Append(MakeRow(value, "Specific", value, value));
    QTemporaryDir program;
    QVERIFY(CreateDefaultConfig(program.path()));
    QVERIFY(SaveJobList(table, program.path()));
    const QByteArray saved = Read(ConfigDatPath(program.path()));

    // The one exception: the single blank that the editor gives a Specific job's recurrence.
    std::vector<QStringList> expected = Texts(table);
    if (value == " ")
        expected[1][6] = expected[1][7] = "";
    JobTable loaded;
    LoadJobList(loaded, program.path(), Now);
    QVERIFY(Texts(loaded) == expected);
    QVERIFY(SaveJobList(loaded, program.path()));
    if (value != " ") // the blanks are then gone from the file too
        QCOMPARE(Read(ConfigDatPath(program.path())), saved);
}

// The stored words of a hand-edited job are read by their value, shown and written back byte
// for byte as they were, whether they name a word or not.
void TestJobConfig::handEditedWordsSurvive_data()
{
    QTest::addColumn<QByteArray>("words");  // the five keys' lines as written by hand
    QTest::addColumn<QList<bool>>("known"); // Status, ValOfPurge, Style, FileFolderStyle, ValOfEvery
    QTest::addColumn<RowIcon>("icon");

    QTest::newRow("capitals") << QByteArray(
                                     "Status=ENABLED\r\nValPurge=7\r\nValOfPurge=DAY\r\nStyle=ROUTINE\r\n"
                                     "FileFolderStyle=FILES ONLY\r\nValEvery=1\r\nValOfEvery=HOUR\r\n")
                              << QList<bool>{true, true, true, true, true} << RowIcon::Enabled;
    QTest::newRow("lower case, specific")
        << QByteArray("Status=disabled\r\nValPurge=7\r\nValOfPurge=month\r\nStyle=specific\r\n"
                      "FileFolderStyle=subfolders only\r\nValEvery=\r\nValOfEvery=\r\n")
        << QList<bool>{true, true, true, true, false} << RowIcon::Disabled;
    QTest::newRow("quoted blanks name no word")
        << QByteArray("Status=\"Enabled \"\r\nValPurge=7\r\nValOfPurge=\"days \"\r\nStyle=\" Routine\"\r\n"
                      "FileFolderStyle=Files  Only\r\nValEvery=1\r\nValOfEvery=\"Hour \"\r\n")
        << QList<bool>{false, false, false, false, false} << RowIcon::Disabled;
    QTest::newRow("other words") << QByteArray(
                                        "Status=On\r\nValPurge=7\r\nValOfPurge=Week\r\nStyle=Weekly\r\n"
                                        "FileFolderStyle=Everything\r\nValEvery=1\r\nValOfEvery=Days\r\n")
                                 << QList<bool>{false, false, false, false, false} << RowIcon::Disabled;
}

void TestJobConfig::handEditedWordsSurvive()
{
    QFETCH(QByteArray, words);
    QFETCH(QList<bool>, known);
    QFETCH(RowIcon, icon);
    QTemporaryDir program;
    const QByteArray file = Initial("1") + "[1]\r\nFolderLoc=" + JobFolder("a").toUtf8() + "\r\n" + words +
                            "NextRun=03/07/2026 02:10 PM\r\nDescription=by hand\r\n";
    Write(ConfigDatPath(program.path()), file);
    JobTable table;
    LoadJobList(table, program.path(), Now);
    QCOMPARE(table.Count(), 1);
    const JobRow& row = table.Row(0);
    QCOMPARE((QList<bool>{row.Status.Value().has_value(), row.ValOfPurge.Value().has_value(),
                          row.Style.Value().has_value(), row.FileFolderStyle.Value().has_value(),
                          row.ValOfEvery.Value().has_value()}),
             known);
    QCOMPARE(row.icon, icon);

    QVERIFY(SaveJobList(table, program.path()));
    QCOMPARE(Read(ConfigDatPath(program.path())), file);
}

void TestJobConfig::latin1FileKeepsItsBytes()
{
    // A file of the old platform's single-byte code page: every byte comes back, and a folder
    // whose name is Latin-1 is found by its bytes.
    const QByteArray folder = QFile::encodeName(m_jobs.path()) + "/caf\xE9";
    std::error_code error;
    QVERIFY(std::filesystem::create_directory(folder.toStdString(), error));
    // Qt could not remove a name that is no UTF-8 with the temporary folder.
    const auto removeFolder = qScopeGuard([&] { std::filesystem::remove(folder.toStdString(), error); });
    QTemporaryDir program;
    const QByteArray job = "[1]\r\nFolderLoc=" + folder +
                           "\r\nStatus=Enabled\r\nValPurge=7\r\nValOfPurge=Day\r\nStyle=Routine\r\n"
                           "FileFolderStyle=Files Only\r\nValEvery=1\r\nValOfEvery=Hour\r\n"
                           "NextRun=03/07/2026 02:10 PM\r\nDescription=R\xE9sum\xE9 \xAB\xFF\xBB\r\n";
    const QByteArray before = "# \xE9t\xE9\r\n" + Initial("1") + job + "[Notes]\r\nk\xE9=\xC4\r\n";
    Write(ConfigDatPath(program.path()), before);
    JobTable table;
    LoadJobList(table, program.path(), Now);
    QCOMPARE(table.Count(), 1);
    QCOMPARE(table.Row(0).FolderLoc, TextFromBytes(folder));
    QCOMPARE(table.Row(0).icon, RowIcon::Enabled);
    QVERIFY(SaveJobList(table, program.path()));
    QCOMPARE(Read(ConfigDatPath(program.path())),
             "# \xE9t\xE9\r\n" + Initial("1") + "[Notes]\r\nk\xE9=\xC4\r\n" + job);
    QVERIFY(SaveOptions(program.path(), "Date: Created", "1", MissedRun::Wait, RunResults::WhenDeleted));
    QVERIFY(Read(ConfigDatPath(program.path())).contains(job));
}

void TestJobConfig::badInput_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("folders");   // the rows the load shows
    QTest::addColumn<QByteArray>("keptBySave"); // bytes the save must leave in the file

    const QString a = JobFolder("a");
    const QString b = JobFolder("b");
    const QByteArray two = Job("1", a) + Job("2", b);
    QTest::newRow("no file") << false << QByteArray() << QStringList() << QByteArray();
    QTest::newRow("empty file") << true << QByteArray() << QStringList() << QByteArray();
    QTest::newRow("binary garbage") << true
                                    << QByteArray("\x7f\x45LF\x02\x01\0\0\xff\xfe[\x90]\r\r\n\0=\x01", 19)
                                    << QStringList() << QByteArray("\x7f\x45LF\x02\x01\0\0\xff\xfe", 10);
    QTest::newRow("TotalJob abc") << true << Initial("abc") + two << QStringList{a, b} << QByteArray();
    QTest::newRow("TotalJob -3") << true << Initial("-3") + two << QStringList{a, b} << QByteArray();
    QTest::newRow("TotalJob 40000") << true << Initial("40000") + two << QStringList{a, b} << QByteArray();
    QTest::newRow("TotalJob 99999999999")
        << true << Initial("99999999999") + two << QStringList{a, b} << QByteArray();
    QTest::newRow("TotalJob missing")
        << true << QByteArray("[Initial]\r\n") + two << QStringList{a, b} << QByteArray();
    QTest::newRow("no Initial section") << true << two << QStringList{a, b} << QByteArray();
    QTest::newRow("TotalJob below the sections")
        << true << Initial("1") + two << QStringList{a} << Job("2", b);
    QTest::newRow("a numbered section missing")
        << true << Initial("3") + Job("1", a) + Job("3", b) << QStringList{a, b} << QByteArray();
    QTest::newRow("keys missing") << true << Initial("2") + "[1]\r\nFolderLoc=" + a.toUtf8() + "\r\n[2]\r\n"
                                  << QStringList{a, ""} << QByteArray();
    QTest::newRow("NextRun not a date") << true << Initial("1") + Job("1", a, "Enabled", "next Tuesday")
                                        << QStringList{a} << QByteArray("NextRun=next Tuesday\r\n");
    QTest::newRow("CR-only line ends")
        << true << QByteArray(Initial("2") + two).replace("\r\n", "\r") << QStringList{a, b} << QByteArray();
    QTest::newRow("10 MB description")
        << true << Initial("1") + Job("1", a, "Enabled", "x", QString(10 << 20, 'd')) << QStringList{a}
        << QByteArray();
    QTest::newRow("5000-character folder") << true << Initial("1") + Job("1", "/" + QString(4999, 'f'))
                                           << QStringList{"/" + QString(4999, 'f')} << QByteArray();
    QTest::newRow("NUL bytes") << true
                               << Initial("1") + Job("1", a, "Enabled", "x", QString::fromUtf8("a\0b", 3))
                               << QStringList{a} << QByteArray("Description=a\0b\r\n", 17);
}

void TestJobConfig::badInput()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, folders);
    QFETCH(QByteArray, keptBySave);
    QTemporaryDir program;
    if (exists)
        Write(ConfigDatPath(program.path()), content);

    JobTable table;
    LoadOptions(table, program.path());
    LoadJobList(table, program.path(), Now);
    QCOMPARE(FoldersOf(table), folders);

    QVERIFY(SaveJobList(table, program.path()));
    const QByteArray saved = Read(ConfigDatPath(program.path()));
    QVERIFY(saved.contains(QByteArray("TotalJob=" + QByteArray::number(table.Count()) + "\r")));
    QVERIFY(saved.contains(keptBySave));
    JobTable reloaded;
    LoadJobList(reloaded, program.path(), Now);
    QVERIFY(Texts(reloaded) == Texts(table));
}

void TestJobConfig::failedSaveKeepsFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("program folder is a file") << "file";
    QTest::newRow("ConfigDat.ini is a folder") << "folder";
}

void TestJobConfig::failedSaveKeepsFile()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString program = dir.path();
    if (kind == "file") {
        program = dir.filePath("plain");
        Write(program, "x");
    } else {
        QVERIFY(QDir(dir.path()).mkpath("ConfigDat.ini/inside"));
    }
    JobTable table;
    table.Append(MakeRow(JobFolder("a"), "Routine", "1", "Day"));
    QVERIFY(!CreateDefaultConfig(program));
    QVERIFY(!SaveJobList(table, program));
    QVERIFY(!SaveOptions(program, "Date: Created", "1", MissedRun::Wait, RunResults::WhenDeleted));
    LoadJobList(table, program, Now);
    QCOMPARE(table.Count(), 0);
    if (kind == "file")
        QCOMPARE(Read(program), QByteArray("x"));
    else
        QVERIFY(QFileInfo(dir.filePath("ConfigDat.ini/inside")).isDir());
}

void TestJobConfig::saveIntoReadOnlyFolder()
{
    QTemporaryDir program;
    const QByteArray before = Initial("1") + Job("1", JobFolder("a"));
    Write(ConfigDatPath(program.path()), before);
    JobTable table;
    LoadJobList(table, program.path(), Now);
    table.Remove(0);
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool stopped = PermissionsStopWrites(program.path());
    const bool saved = stopped && SaveJobList(table, program.path());
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!stopped)
        QSKIP("running with rights that write into read-only folders");
    QVERIFY(!saved);
    QCOMPARE(Read(ConfigDatPath(program.path())), before);
    QCOMPARE(Entries(program.path()), QStringList{"ConfigDat.ini"});
}

void TestJobConfig::saveOptions_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<MissedRun>("missedRun");
    QTest::addColumn<RunResults>("runResults");
    QTest::addColumn<QByteArray>("after");

    const QByteArray saved = QByteArray(DefaultFile)
                                 .replace("Last Modified", "Created")
                                 .replace("DeleteSpecific=0", "DeleteSpecific=1");
    const RunResults deleted = RunResults::WhenDeleted;
    QTest::newRow("default file, in place") << true << DefaultFile << MissedRun::Wait << deleted << saved;
    QTest::newRow("keys missing, appended in order")
        << true << QByteArray("[Initial]\r\nTotalJob=0\r\n\r\n") << MissedRun::Wait << deleted
        << QByteArray("[Initial]\r\nTotalJob=0\r\nLookPurgeBy=Date: Created\r\nDeleteSpecific=1\r\n\r\n");
    QTest::newRow("no file") << false << QByteArray() << MissedRun::Wait << deleted
                             << QByteArray("[Initial]\r\nLookPurgeBy=Date: Created\r\nDeleteSpecific=1\r\n");
    const QByteArray moveOn =
        QByteArray(saved).replace("TotalJob=0\r\n", "TotalJob=0\r\nMissedRun=MoveOn\r\n");
    QTest::newRow("move on, after TotalJob") << true << DefaultFile << MissedRun::MoveOn << deleted << moveOn;
    QTest::newRow("run once replaces move on")
        << true << moveOn << MissedRun::RunOnce << deleted << QByteArray(moveOn).replace("MoveOn", "RunOnce");
    QTest::newRow("wait again removes the key") << true << moveOn << MissedRun::Wait << deleted << saved;
    const QByteArray every =
        QByteArray(moveOn).replace("MissedRun=MoveOn\r\n", "MissedRun=MoveOn\r\nRunResults=Every\r\n");
    QTest::newRow("every run, after the missed run")
        << true << DefaultFile << MissedRun::MoveOn << RunResults::Every << every;
    QTest::newRow("never replaces every") << true << every << MissedRun::MoveOn << RunResults::Never
                                          << QByteArray(every).replace("Every", "Never");
    QTest::newRow("only deleted again removes the key")
        << true << every << MissedRun::MoveOn << deleted << moveOn;
    QTest::newRow("never, missed run default")
        << true << DefaultFile << MissedRun::Wait << RunResults::Never
        << QByteArray(saved).replace("TotalJob=0\r\n", "TotalJob=0\r\nRunResults=Never\r\n");
}

void TestJobConfig::saveOptions()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir program;
    if (exists)
        Write(ConfigDatPath(program.path()), before);
    QFETCH(MissedRun, missedRun);
    QFETCH(RunResults, runResults);
    QVERIFY(SaveOptions(program.path(), "Date: Created", "1", missedRun, runResults));
    QCOMPARE(Read(ConfigDatPath(program.path())), after);
    JobTable table;
    table.SetMissedRunChoice(MissedRun::RunOnce);
    table.SetRunResultsChoice(RunResults::Never == runResults ? RunResults::Every : RunResults::Never);
    LoadOptions(table, program.path());
    QCOMPARE(table.LookPurgeBy().Text(), "Date: Created");
    QCOMPARE(table.DeleteSpecific(), "1");
    QCOMPARE(table.MissedRunChoice(), missedRun);
    QCOMPARE(table.RunResultsChoice(), runResults);
}

// A hand-edited choice is read without regard to case; any other text is the default.
void TestJobConfig::loadChoices_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<MissedRun>("missedRun");
    QTest::addColumn<RunResults>("runResults");
    const RunResults deleted = RunResults::WhenDeleted;
    QTest::newRow("absent") << QByteArray() << MissedRun::Wait << deleted;
    QTest::newRow("lower case") << QByteArray("MissedRun=moveon\r\n") << MissedRun::MoveOn << deleted;
    QTest::newRow("run once") << QByteArray("MissedRun=RunOnce\r\n") << MissedRun::RunOnce << deleted;
    QTest::newRow("typo") << QByteArray("MissedRun=Run Once\r\n") << MissedRun::Wait << deleted;
    QTest::newRow("every") << QByteArray("RunResults=Every\r\n") << MissedRun::Wait << RunResults::Every;
    QTest::newRow("never, capitals, before the missed run")
        << QByteArray("RunResults=NEVER\r\nMissedRun=RunOnce\r\n") << MissedRun::RunOnce << RunResults::Never;
    QTest::newRow("results typo") << QByteArray("RunResults=Evry\r\n") << MissedRun::Wait << deleted;
    QTest::newRow("results blank") << QByteArray("RunResults=\r\n") << MissedRun::Wait << deleted;
}

void TestJobConfig::loadChoices()
{
    QFETCH(QByteArray, lines);
    QFETCH(MissedRun, missedRun);
    QFETCH(RunResults, runResults);
    QTemporaryDir program;
    Write(ConfigDatPath(program.path()), Initial("0") + lines);
    JobTable table;
    table.SetMissedRunChoice(MissedRun::MoveOn == missedRun ? MissedRun::RunOnce : MissedRun::MoveOn);
    table.SetRunResultsChoice(RunResults::Never == runResults ? RunResults::Every : RunResults::Never);
    LoadOptions(table, program.path());
    QCOMPARE(table.MissedRunChoice(), missedRun);
    QCOMPARE(table.RunResultsChoice(), runResults);
}

// A job's trash setting is the one key after its ten, there only when on; only "1" turns it on.
void TestJobConfig::moveToTrashKey_data()
{
    QTest::addColumn<QByteArray>("stored"); // after the ten keys
    QTest::addColumn<bool>("on");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("absent") << QByteArray() << false << QByteArray();
    QTest::newRow("on") << QByteArray("MoveToTrash=1\r\n") << true << QByteArray("MoveToTrash=1\r\n");
    QTest::newRow("0 is off, and goes") << QByteArray("MoveToTrash=0\r\n") << false << QByteArray();
    QTest::newRow("yes is no 1") << QByteArray("MoveToTrash=yes\r\n") << false << QByteArray();
    QTest::newRow("any case of the key")
        << QByteArray("movetotrash=1\r\n") << true << QByteArray("MoveToTrash=1\r\n");
}

void TestJobConfig::moveToTrashKey()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, on);
    QFETCH(QByteArray, saved);
    QTemporaryDir program;
    Write(ConfigDatPath(program.path()),
          Initial("2") + Job("1", JobFolder("a")) + stored + Job("2", JobFolder("b")));
    JobTable table;
    LoadJobList(table, program.path(), Now);
    QCOMPARE(table.Row(0).MoveToTrash, on);
    QVERIFY(!table.Row(1).MoveToTrash);
    QVERIFY(SaveJobList(table, program.path()));
    QCOMPARE(Read(ConfigDatPath(program.path())),
             Initial("2") + Job("1", JobFolder("a")) + saved + Job("2", JobFolder("b")));
    // Turned the other way, a save writes or removes the key after Description.
    JobRow row = table.Row(0);
    row.MoveToTrash = !on;
    table.Update(0, row);
    QVERIFY(table.IsDirty());
    QVERIFY(SaveJobList(table, program.path()));
    QCOMPARE(Read(ConfigDatPath(program.path())), Initial("2") + Job("1", JobFolder("a")) +
                                                      (on ? QByteArray() : QByteArray("MoveToTrash=1\r\n")) +
                                                      Job("2", JobFolder("b")));
}

// The default for new jobs is stored only when on, and a save that does not name it keeps it.
void TestJobConfig::newJobsMoveToTrash_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<std::optional<bool>>("choice");
    QTest::addColumn<QByteArray>("after");
    const QByteArray saved = QByteArray(DefaultFile)
                                 .replace("Last Modified", "Created")
                                 .replace("DeleteSpecific=0", "DeleteSpecific=1");
    const QByteArray on =
        QByteArray(saved).replace("TotalJob=0\r\n", "TotalJob=0\r\nNewJobsMoveToTrash=1\r\n");
    QTest::newRow("not named, off") << DefaultFile << std::optional<bool>() << saved;
    QTest::newRow("not named, kept on") << on << std::optional<bool>() << on;
    QTest::newRow("on, after TotalJob") << DefaultFile << std::optional(true) << on;
    QTest::newRow("off removes the key") << on << std::optional(false) << saved;
}

void TestJobConfig::newJobsMoveToTrash()
{
    QFETCH(QByteArray, before);
    QFETCH(std::optional<bool>, choice);
    QFETCH(QByteArray, after);
    QTemporaryDir program;
    Write(ConfigDatPath(program.path()), before);
    QVERIFY(
        SaveOptions(program.path(), "Date: Created", "1", MissedRun::Wait, RunResults::WhenDeleted, choice));
    QCOMPARE(Read(ConfigDatPath(program.path())), after);
    JobTable table;
    const bool expected = after.contains("NewJobsMoveToTrash=1");
    table.SetNewJobsMoveToTrash(!expected);
    LoadOptions(table, program.path());
    QCOMPARE(table.NewJobsMoveToTrash(), expected);
}

// The days to empty the trash after are stored only when not the default, a save that does
// not name them keeps them, and a hand-edited count beyond what the records cover reads as
// the default.
void TestJobConfig::trashDays_data()
{
    QTest::addColumn<QByteArray>("before"); // after TotalJob
    QTest::addColumn<std::optional<int>>("choice");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("loaded");
    QTest::newRow("absent, not named") << QByteArray() << std::optional<int>() << QByteArray() << 30;
    QTest::newRow("default not written") << QByteArray() << std::optional(30) << QByteArray() << 30;
    QTest::newRow("7 written") << QByteArray() << std::optional(7) << QByteArray("TrashDays=7\r\n") << 7;
    QTest::newRow("never written") << QByteArray() << std::optional(0) << QByteArray("TrashDays=0\r\n") << 0;
    QTest::newRow("most written") << QByteArray() << std::optional(90) << QByteArray("TrashDays=90\r\n")
                                  << 90;
    QTest::newRow("default removes the key")
        << QByteArray("TrashDays=7\r\n") << std::optional(30) << QByteArray() << 30;
    QTest::newRow("not named, kept") << QByteArray("TrashDays=7\r\n") << std::optional<int>()
                                     << QByteArray("TrashDays=7\r\n") << 7;
    QTest::newRow("text ignored") << QByteArray("TrashDays=soon\r\n") << std::optional<int>()
                                  << QByteArray("TrashDays=soon\r\n") << 30;
    QTest::newRow("negative ignored")
        << QByteArray("TrashDays=-1\r\n") << std::optional<int>() << QByteArray("TrashDays=-1\r\n") << 30;
    QTest::newRow("beyond the records ignored")
        << QByteArray("TrashDays=91\r\n") << std::optional<int>() << QByteArray("TrashDays=91\r\n") << 30;
    QTest::newRow("blank ignored") << QByteArray("TrashDays=\r\n") << std::optional<int>()
                                   << QByteArray("TrashDays=\r\n") << 30;
}

void TestJobConfig::trashDays()
{
    QFETCH(QByteArray, before);
    QFETCH(std::optional<int>, choice);
    QFETCH(QByteArray, after);
    QFETCH(int, loaded);
    const QByteArray saved = QByteArray(DefaultFile)
                                 .replace("Last Modified", "Created")
                                 .replace("DeleteSpecific=0", "DeleteSpecific=1");
    QTemporaryDir program;
    const QByteArray total = "TotalJob=0\r\n";
    Write(ConfigDatPath(program.path()), QByteArray(DefaultFile).replace(total, QByteArray(total + before)));
    QVERIFY(SaveOptions(program.path(), "Date: Created", "1", MissedRun::Wait, RunResults::WhenDeleted,
                        std::nullopt, choice));
    QCOMPARE(Read(ConfigDatPath(program.path())),
             QByteArray(saved).replace(total, QByteArray(total + after)));
    JobTable table;
    table.SetTrashDays(loaded == 1 ? 2 : 1);
    LoadOptions(table, program.path());
    QCOMPARE(table.TrashDays(), loaded);
}

QTEST_APPLESS_MAIN(TestJobConfig)
#include "tst_jobconfig.moc"
