#pragma once

#include <QDateTime>
#include <QString>

class JobTable;

// ConfigDat.ini in the program folder <-> the job table and its two options.
// Writes replace the file atomically; false means the file was left as it was.
bool CreateDefaultConfig(const QString& programFolder);
void LoadOptions(JobTable& table, const QString& programFolder);
void LoadJobList(JobTable& table, const QString& programFolder, const QDateTime& now);
bool SaveJobList(const JobTable& table, const QString& programFolder);
bool SaveOptions(const QString& programFolder, const QString& lookPurgeBy, const QString& deleteSpecific);
bool DeleteJobSection(const QString& programFolder, const QString& section);
