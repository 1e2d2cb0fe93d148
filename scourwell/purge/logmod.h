// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>

// The log's mark of an empty cell; a Specific run's recurrence is written as two of them.
inline const QString LogNoValue = QStringLiteral("&nbsp");

// The week logs in <program folder>/Logs: one HTML file per quarter of a month.
QString GetLogFileName(const QString& programFolder, const QDateTime& now);
QString GetLogWeekTitle(const QDateTime& now);
bool LogFileExists(const QString& programFolder, const QDateTime& now);
// Writes the header block at the start of the file; one already there is kept as it is.
bool WriteLogHeader(const QString& programFolder, const QDateTime& now);
// A cell of a row: its values, shown joined by a blank (a threshold and its unit, a recurrence
// count and its unit). Each value is HTML-escaped unless it is exactly the "&nbsp" marker, so
// that a folder named "&nbsp &nbsp" is shown by its name and not as two empty marks.
using LogCell = QStringList;
// One row of ten cells, appended in one write; a row that starts the file has the header block
// before it. Waits a little for descriptors when the process has none to spare.
bool WriteLogRow(const QString& programFolder, const QDateTime& now, const std::array<LogCell, 10>& cells);
