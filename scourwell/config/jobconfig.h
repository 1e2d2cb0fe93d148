#pragma once

#include <QDateTime>
#include <QString>

class JobTable;

// ConfigDat.ini in the program folder <-> the job table and its two options.
// Each write replaces the file atomically in one step; false means the file was left as it
// was (it could not be read, or not written).

// Writes the eight default lines when the file is missing; false only when that failed.
bool CreateDefaultConfig(const QString& programFolder);
void LoadOptions(JobTable& table, const QString& programFolder);
// Rows of the numbered job sections, icons judged against now at minute resolution. Never
// fails: a missing or unreadable file gives an empty table; a hand-edited TotalJob that is
// not a count from 0 to 32767 loads every numbered section 1..32767 that the file has.
void LoadJobList(JobTable& table, const QString& programFolder, const QDateTime& now);
// Removes the old job sections (1..TotalJob of the file) and writes the table as sections
// 1..N and TotalJob = N; numbered sections above the old TotalJob stay as they are. A
// successful save leaves the table clean.
bool SaveJobList(JobTable& table, const QString& programFolder);
bool SaveOptions(const QString& programFolder, const QString& lookPurgeBy, const QString& deleteSpecific);
bool DeleteJobSection(const QString& programFolder, const QString& section);

// Whether a folder text comes back identical through a save and a load. One that would not
// (a line break, text that stands for no bytes) names another folder after a restart, so a
// job on it is never launched.
bool FolderRoundTrips(const QString& folder);
