// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>
#include <vector>

// A job as ConfigDat.ini stores it, with everyday defaults: the ten texts of its section, a
// test naming the ones it cares about.
struct StoredJob
{
    QString folder = {};
    QString nextRun = {};
    QString status = QStringLiteral("Enabled");
    QString valPurge = QStringLiteral("30");
    QString valOfPurge = QStringLiteral("Day");
    QString style = QStringLiteral("Routine");
    QString fileFolderStyle = QStringLiteral("Files Only");
    QString valEvery = QStringLiteral("1");
    QString valOfEvery = QStringLiteral("Hour");
    QString description = {};
};

// Writes ConfigDat.ini into the program folder as the program itself would.
inline void WriteJobsFile(const QString& programFolder, const std::vector<StoredJob>& jobs,
                          const QString& lookPurgeBy = QStringLiteral("Date: Last Modified"),
                          const QString& deleteSpecific = QStringLiteral("0"))
{
    QString text = QStringLiteral("[Initial]\r\nLookPurgeBy=") + lookPurgeBy +
                   QStringLiteral("\r\nDeleteSpecific=") + deleteSpecific + QStringLiteral("\r\nTotalJob=") +
                   QString::number(jobs.size()) + QStringLiteral("\r\n");
    int section = 0;
    for (const StoredJob& job : jobs) {
        text += QStringLiteral("[%1]\r\n").arg(++section);
        const std::pair<const char*, const QString*> keys[] = {
            {"FolderLoc", &job.folder},  {"Status", &job.status},
            {"ValPurge", &job.valPurge}, {"ValOfPurge", &job.valOfPurge},
            {"Style", &job.style},       {"FileFolderStyle", &job.fileFolderStyle},
            {"ValEvery", &job.valEvery}, {"ValOfEvery", &job.valOfEvery},
            {"NextRun", &job.nextRun},   {"Description", &job.description}};
        for (const auto& [key, value] : keys)
            text += QLatin1String(key) + QLatin1Char('=') + *value + QStringLiteral("\r\n");
    }
    QFile file(programFolder + QStringLiteral("/ConfigDat.ini"));
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
}
