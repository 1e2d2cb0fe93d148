// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace quillon {

// One listed log file: its name, its last-modification time as shown, and its full path.
struct LogFileRow
{
    QString name;
    QString modified;
    QString path;
};

// The last four or the last five characters of the name equal the filter exactly.
bool MatchesFilter(const QString& name, const QString& filter);
// "MM/dd/yyyy  hh:nn AM/PM", two blanks between date and time.
QString ModifiedText(const QDateTime& time);
// The files of the folder that match the filter, in name order; hidden files are passed
// over. An empty folder text lists nothing; nullopt when the folder is not found.
std::optional<std::vector<LogFileRow>> CollectLogFiles(const QString& folder, const QString& filter);

} // namespace quillon
