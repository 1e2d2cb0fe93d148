#pragma once

#include <QDateTime>
#include <QString>
#include <array>

// The log's mark of an empty cell; a Specific run's recurrence is written as two of them.
inline const QString LogNoValue = QStringLiteral("&nbsp");

// The week logs in <program folder>/Logs: one HTML file per quarter of a month.
QString GetLogFileName(const QString& programFolder, const QDateTime& now);
QString GetLogWeekTitle(const QDateTime& now);
bool LogFileExists(const QString& programFolder, const QDateTime& now);
// Writes the header block at the start of the file; one already there is kept as it is.
bool WriteLogHeader(const QString& programFolder, const QDateTime& now);
// One row of ten cells, HTML-escaped unless a cell is only the "&nbsp" marker, appended in one
// write; a row that starts the file has the header block before it. Waits a little for
// descriptors when the process has none to spare.
bool WriteLogRow(const QString& programFolder, const QDateTime& now, const std::array<QString, 10>& cells);
