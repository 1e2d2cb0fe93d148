#include "config/bytetext.h"
#include "purge/logmod.h"
#include "purgetestfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Month names come from the system locale; these tests read them in the C locale (English).
const bool g_cLocale = qputenv("LC_ALL", "C");

QDateTime Day(int day, int month = 12)
{
    return QDateTime(QDate(2026, month, day), QTime(10, 0));
}

std::array<QString, 10> Cells(const QString& folder)
{
    return {folder,
            "Enabled",
            "30 Day",
            "Manual",
            "Subfolders Only",
            "&nbsp &nbsp",
            "12/07/2026 10:00 AM",
            "Date: Created",
            "&nbsp",
            "2"};
}

} // namespace

class TestLogMod : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(g_cLocale); }

    void weekOfTheMonth_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("title");
        QTest::newRow("1st") << Day(1) << "December-1st_week-2026.htm"
                             << "1st Week of December, 2026";
        QTest::newRow("7th") << Day(7) << "December-1st_week-2026.htm"
                             << "1st Week of December, 2026";
        QTest::newRow("8th") << Day(8) << "December-2nd_week-2026.htm"
                             << "2nd Week of December, 2026";
        QTest::newRow("14th") << Day(14) << "December-2nd_week-2026.htm"
                              << "2nd Week of December, 2026";
        QTest::newRow("15th") << Day(15) << "December-3rd_week-2026.htm"
                              << "3rd Week of December, 2026";
        QTest::newRow("21st") << Day(21) << "December-3rd_week-2026.htm"
                              << "3rd Week of December, 2026";
        QTest::newRow("22nd") << Day(22) << "December-4th_week-2026.htm"
                              << "4th Week of December, 2026";
        QTest::newRow("29 Feb") << QDateTime(QDate(2028, 2, 29), QTime(0, 0)) << "February-4th_week-2028.htm"
                                << "4th Week of February, 2028";
        QTest::newRow("31st") << Day(31) << "December-4th_week-2026.htm"
                              << "4th Week of December, 2026";
    }

    void weekOfTheMonth()
    {
        QFETCH(QDateTime, now);
        QFETCH(QString, fileName);
        QFETCH(QString, title);
        QTemporaryDir dir;
        QCOMPARE(GetLogFileName(dir.path(), now), dir.path() + "/Logs/" + fileName);
        QCOMPARE(GetLogWeekTitle(now), title);
    }

    void fileNameCreatesLogs()
    {
        QTemporaryDir dir;
        QVERIFY(!QFileInfo::exists(dir.filePath("Logs")));
        QVERIFY(!LogFileExists(dir.path(), Day(3)));
        QVERIFY(QFileInfo(dir.filePath("Logs")).isDir());
    }

    void headerBytes()
    {
        QTemporaryDir dir;
        // A row a run appended after the caller found no file: kept, below the header.
        QFile early(GetLogFileName(dir.path(), Day(2)));
        QVERIFY(early.open(QIODevice::WriteOnly));
        early.write("<tr> early row\r\n");
        early.close();

        QVERIFY(WriteLogHeader(dir.path(), Day(2)));
        QVERIFY(LogFileExists(dir.path(), Day(2)));
        const QByteArray expected =
            "<title>Orvik's Scourwell - Log : 1st Week of December, 2026</title>\r\n"
            "<body bgcolor=FFFFCC>\r\n"
            "<h3 align=center>Orvik's Scourwell - Log for 1st Week of December, 2026</h3>\r\n"
            "<table width=1000 border=2 align=center cellpadding=1 cellspacing=1>\r\n"
            "<tr bgcolor=000066> \r\n"
            "<td><font color=FFFFFF>Folder<br>Path</font></td>\r\n"
            "<td><font color=FFFFFF>Status<br><br></font></td>\r\n"
            "<td><font color=FFFFFF>Purge<br>Value</font></td>\r\n"
            "<td><font color=FFFFFF>Purge<br>Style</font></td>\r\n"
            "<td><font color=FFFFFF>Purge<br>Object</font></td>\r\n"
            "<td><font color=FFFFFF>Recurrance<br><br></font></td>\r\n"
            "<td><font color=FFFFFF>Last Run<br><br></font></td>\r\n"
            "<td><font color=FFFFFF>Delete By<br><br></font></td>\r\n"
            "<td><font color=FFFFFF>Deleted<br>Files</font></td>\r\n"
            "<td><font color=FFFFFF>Deleted<br>Subfolders</font></td>\r\n"
            "</tr>\r\n"
            "<tr> early row\r\n";
        QCOMPARE(ReadAll(GetLogFileName(dir.path(), Day(2))), expected);
    }

    void cellsAreEscaped_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << "/srv/cache"
                               << "/srv/cache";
        QTest::newRow("markup") << "/srv/a<b>\"c\""
                                << "/srv/a&lt;b&gt;&quot;c&quot;";
        QTest::newRow("ampersand") << "/srv/R&D"
                                   << "/srv/R&amp;D";
        QTest::newRow("entity-like") << "/srv/&lt;"
                                     << "/srv/&amp;lt;";
        QTest::newRow("utf-8") << "/srv/Bücher"
                               << "/srv/Bücher";
    }

    void cellsAreEscaped()
    {
        QFETCH(QString, folder);
        QFETCH(QString, written);
        QTemporaryDir dir;
        QVERIFY(WriteLogHeader(dir.path(), Day(9)));
        QVERIFY(WriteLogRow(dir.path(), Day(9), Cells(folder)));
        const QByteArray content = ReadAll(GetLogFileName(dir.path(), Day(9)));
        // The "&nbsp" marker of empty cells, also twice in one cell, passes as written.
        QVERIFY(
            content.endsWith(LogRow({written, "Enabled", "30 Day", "Manual", "Subfolders Only", "&nbsp &nbsp",
                                     "12/07/2026 10:00 AM", "Date: Created", "&nbsp", "2"})));
    }

    // A folder named in a single-byte code page keeps its bytes in the log, escaped all the same.
    void cellBytesPassThrough()
    {
        QTemporaryDir dir;
        QVERIFY(WriteLogRow(dir.path(), Day(9), Cells(TextFromBytes("/srv/caf\xE9 & \xFF"))));
        QVERIFY(ReadAll(GetLogFileName(dir.path(), Day(9)))
                    .startsWith("<tr> \r\n<td>/srv/caf\xE9 &amp; \xFF</td>\r\n"));
    }

    // A run dispatched on the 7th that ends on the 8th: its row starts the 2nd-week file.
    void rowAfterWeekChangeStartsFileWithoutHeader()
    {
        QTemporaryDir dir;
        QVERIFY(!LogFileExists(dir.path(), Day(7)));
        QVERIFY(WriteLogHeader(dir.path(), Day(7)));
        const QByteArray firstWeek = ReadAll(GetLogFileName(dir.path(), Day(7)));

        QVERIFY(WriteLogRow(dir.path(), QDateTime(QDate(2026, 12, 8), QTime(0, 0, 5)), Cells("/a")));
        QCOMPARE(ReadAll(GetLogFileName(dir.path(), Day(7))), firstWeek);
        QVERIFY(ReadAll(GetLogFileName(dir.path(), Day(8))).startsWith("<tr> \r\n<td>/a</td>\r\n"));
    }
};

QTEST_APPLESS_MAIN(TestLogMod)
#include "tst_logmod.moc"
