// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon/listmod.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace quillon {

bool MatchesFilter(const QString& name, const QString& filter)
{
    return name.right(4) == filter || name.right(5) == filter;
}

QString ModifiedText(const QDateTime& time)
{
    return QLocale::c().toString(time, QStringLiteral("MM/dd/yyyy  hh:mm AP"));
}

std::optional<std::vector<LogFileRow>> CollectLogFiles(const QString& folder, const QString& filter)
{
    std::vector<LogFileRow> rows;
    if (folder.isEmpty())
        return rows;
    const QDir dir(folder);
    if (!QFileInfo(folder).isDir())
        return std::nullopt;
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& file : files) {
        if (MatchesFilter(file.fileName(), filter))
            rows.push_back(
                {file.fileName(), ModifiedText(file.lastModified()), dir.filePath(file.fileName())});
    }
    return rows;
}

} // namespace quillon
