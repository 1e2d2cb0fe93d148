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
bool WriteLogHeader(const QString& programFolder, const QDateTime& now);
// One row of ten cells, HTML-escaped but for the "&nbsp" marker, appended in one write.
bool WriteLogRow(const QString& programFolder, const QDateTime& now, const std::array<QString, 10>& cells);
