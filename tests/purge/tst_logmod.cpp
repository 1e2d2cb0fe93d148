// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/filelimits.h"
#include "purge/logmod.h"
#include "shared/bytetext.h"
#include "support/purgetestfiles.h"

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

std::array<LogCell, 10> Cells(const QString& folder)
{
    return {LogCell{folder},
            LogCell{"Enabled"},
            LogCell{"30", "Day"},
            LogCell{"Manual"},
            LogCell{"Subfolders Only"},
            LogCell{"&nbsp", "&nbsp"},
            LogCell{"12/07/2026 10:00 AM"},
            LogCell{"Date: Created"},
            LogCell{"&nbsp"},
            LogCell{"2"}};
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
        const auto row = [](const char* name, const char* folder, const char* written) {
            QTest::newRow(name) << QString(folder) << QString(written);
        };
        row("plain", "/srv/cache", "/srv/cache");
        row("markup", "/srv/a<b>\"c\"", "/srv/a&lt;b&gt;&quot;c&quot;");
        row("ampersand", "/srv/R&D", "/srv/R&amp;D");
        row("entity-like", "/srv/&lt;", "/srv/&amp;lt;");
        row("utf-8", "/srv/Bücher", "/srv/Bücher");
        // Only a value that is exactly the empty-cell mark passes as written.
        row("empty-cell mark", "&nbsp", "&nbsp");
        row("two marks", "&nbsp &nbsp", "&amp;nbsp &amp;nbsp");
        row("mark after a blank", "a &nbsp", "a &amp;nbsp");
        row("mark inside", "a&nbspb", "a&amp;nbspb");
        row("entity", "&nbsp;", "&amp;nbsp;");
        row("mark at the end", "x&nbsp", "x&amp;nbsp");
        row("mark and a blank", "&nbsp ", "&amp;nbsp ");
        row("mark in markup", "<&nbsp>", "&lt;&amp;nbsp&gt;");
    }

    void cellsAreEscaped()
    {
        QFETCH(QString, folder);
        QFETCH(QString, written);
        QTemporaryDir dir;
        QVERIFY(WriteLogHeader(dir.path(), Day(9)));
        QVERIFY(WriteLogRow(dir.path(), Day(9), Cells(folder)));
        const QByteArray content = ReadAll(GetLogFileName(dir.path(), Day(9)));
        // The "&nbsp" marker of empty values, also twice in one cell, passes as written.
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
                    .contains("<tr> \r\n<td>/srv/caf\xE9 &amp; \xFF</td>\r\n"));
    }

    // A run dispatched on the 7th (the header checked in the 1st-week file) that ends on the
    // 8th: the 2nd-week file gets its header once, before the first row, whoever writes first.
    void rowAfterWeekChangeHasHeader_data()
    {
        QTest::addColumn<QString>("before"); // the 2nd-week file when the row comes
        QTest::addColumn<bool>("headerAfter");
        QTest::newRow("missing") << "missing" << false;
        QTest::newRow("empty") << "empty" << false;
        QTest::newRow("headed") << "headed" << false;
        QTest::newRow("header checked after the row") << "missing" << true;
    }
    void rowAfterWeekChangeHasHeader()
    {
        QFETCH(QString, before);
        QFETCH(bool, headerAfter);
        QTemporaryDir dir;
        QVERIFY(WriteLogHeader(dir.path(), Day(7)));
        const QByteArray firstWeek = ReadAll(GetLogFileName(dir.path(), Day(7)));
        const QString secondWeek = GetLogFileName(dir.path(), Day(8));
        if (before == "empty")
            QVERIFY(QFile(secondWeek).open(QIODevice::WriteOnly));
        if (before == "headed")
            QVERIFY(WriteLogHeader(dir.path(), Day(8)));
        QTemporaryDir other;
        QVERIFY(WriteLogHeader(other.path(), Day(8)));
        const QByteArray header = ReadAll(GetLogFileName(other.path(), Day(8)));

        QVERIFY(WriteLogRow(dir.path(), QDateTime(QDate(2026, 12, 8), QTime(0, 0, 5)), Cells("/a")));
        if (headerAfter)
            QVERIFY(WriteLogHeader(dir.path(), Day(8)));
        QCOMPARE(ReadAll(GetLogFileName(dir.path(), Day(7))), firstWeek);
        QCOMPARE(ReadAll(secondWeek),
                 header + LogRow({"/a", "Enabled", "30 Day", "Manual", "Subfolders Only", "&nbsp &nbsp",
                                  "12/07/2026 10:00 AM", "Date: Created", "&nbsp", "2"}));
    }

    // A run that ends while the process has no descriptor to spare still logs its row once
    // other runs close theirs.
    void rowWaitsForDescriptors()
    {
        QTemporaryDir dir;
        QVERIFY(WriteLogHeader(dir.path(), Day(9)));
        {
            DescriptorShortage shortage;
            QVERIFY(shortage.Holds());
            shortage.Release();
            QVERIFY(WriteLogRow(dir.path(), Day(9), Cells("/a")));
        }
        QVERIFY(ReadAll(GetLogFileName(dir.path(), Day(9))).endsWith("<td>2</td>\r\n</tr>\r\n"));
    }
};

QTEST_APPLESS_MAIN(TestLogMod)
#include "tst_logmod.moc"
