// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/logmod.h"

#include "purge/filelock.h"
#include "shared/atomicfile.h"
#include "shared/bytetext.h"
#include "shared/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMutexLocker>

namespace {

struct WeekNames
{
    const char* fileTag;
    const char* titleText;
};

// Days 1-7, 8-14, 15-21 and 22-31: there is no fifth week.
WeekNames WeekOf(const QDate& date)
{
    const int day = date.day();
    if (day <= 7)
        return {"-1st_week-", "1st Week of "};
    if (day <= 14)
        return {"-2nd_week-", "2nd Week of "};
    if (day <= 21)
        return {"-3rd_week-", "3rd Week of "};
    return {"-4th_week-", "4th Week of "};
}

QString MonthName(const QDate& date)
{
    return QLocale::system().standaloneMonthName(date.month(), QLocale::LongFormat);
}

QString YearText(const QDate& date)
{
    return QString::number(date.year()).rightJustified(4, u'0');
}

QString EscapeHtml(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

// "&nbsp" marks an empty value and passes as written; any other value is escaped whole, "&nbsp"
// within it too, so that a folder name is shown as it is.
QString CellHtml(const LogCell& cell)
{
    QStringList values;
    for (const QString& value : cell)
        values.append(value == LogNoValue ? value : EscapeHtml(value));
    return values.join(u' ');
}

QByteArray HeaderBlock(const QDateTime& now)
{
    const QString title = GetLogWeekTitle(now);
    const QStringList lines = {
        "<title>Orvik's Scourwell - Log : " + title + "</title>",
        QStringLiteral("<body bgcolor=FFFFCC>"),
        "<h3 align=center>Orvik's Scourwell - Log for " + title + "</h3>",
        QStringLiteral("<table width=1000 border=2 align=center cellpadding=1 cellspacing=1>"),
        QStringLiteral("<tr bgcolor=000066> "),
        QStringLiteral("<td><font color=FFFFFF>Folder<br>Path</font></td>"),
        QStringLiteral("<td><font color=FFFFFF>Status<br><br></font></td>"),
        QStringLiteral("<td><font color=FFFFFF>Purge<br>Value</font></td>"),
        QStringLiteral("<td><font color=FFFFFF>Purge<br>Style</font></td>"),
        QStringLiteral("<td><font color=FFFFFF>Purge<br>Object</font></td>"),
        QStringLiteral("<td><font color=FFFFFF>Recurrance<br><br></font></td>"),
        QStringLiteral("<td><font color=FFFFFF>Last Run<br><br></font></td>"),
        QStringLiteral("<td><font color=FFFFFF>Delete By<br><br></font></td>"),
        QStringLiteral("<td><font color=FFFFFF>Deleted<br>Files</font></td>"),
        QStringLiteral("<td><font color=FFFFFF>Deleted<br>Subfolders</font></td>"),
        QStringLiteral("</tr>"),
    };
    return (lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8();
}

} // namespace

QString GetLogFileName(const QString& programFolder, const QDateTime& now)
{
    const QString logs = LogsFolder(programFolder);
    if (!QFileInfo::exists(logs))
        QDir().mkpath(logs);
    const QDate date = now.date();
    return logs + u'/' + MonthName(date) + QLatin1String(WeekOf(date).fileTag) + YearText(date) +
           QLatin1String(".htm");
}

QString GetLogWeekTitle(const QDateTime& now)
{
    const QDate date = now.date();
    return QLatin1String(WeekOf(date).titleText) + MonthName(date) + QLatin1String(", ") + YearText(date);
}

bool LogFileExists(const QString& programFolder, const QDateTime& now)
{
    return QFileInfo::exists(GetLogFileName(programFolder, now));
}

bool WriteLogHeader(const QString& programFolder, const QDateTime& now)
{
    const QByteArray header = HeaderBlock(now);
    const QString path = GetLogFileName(programFolder, now);
    QMutexLocker lock(&SharedFileLock());
    // A run may have started the file with its row between the caller's existence check and
    // this write: rows keep their place below the header, which is never written twice.
    QFile file(path);
    QByteArray rows;
    if (file.open(QIODevice::ReadOnly)) {
        rows = file.readAll();
        file.close();
    }
    return rows.startsWith(header) || WriteFileAtomically(path, header + rows);
}

bool WriteLogRow(const QString& programFolder, const QDateTime& now, const std::array<LogCell, 10>& cells)
{
    QString block = QStringLiteral("<tr> \r\n");
    for (const LogCell& cell : cells)
        block += QLatin1String("<td>") + CellHtml(cell) + QLatin1String("</td>\r\n");
    block += QLatin1String("</tr>\r\n");
    // A folder name that is no UTF-8 keeps its bytes.
    const QByteArray bytes = BytesFromText(block);

    // The run may end in a week whose file nobody has started yet: its row then comes after
    // the header, in the same write.
    const QByteArray header = HeaderBlock(now);
    const QString path = GetLogFileName(programFolder, now);
    return RetryWhileNoDescriptors([&] {
               QMutexLocker lock(&SharedFileLock());
               return AppendToFile(path, bytes, header + bytes);
           }) == FileWrite::Done;
}
