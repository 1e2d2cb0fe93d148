// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

class JobTable;
enum class MissedRun;
enum class RunResults;

// ConfigDat.ini in the program folder <-> the job table and its two options.
// Each write replaces the file atomically in one step; false means the file was left as it
// was (it could not be read, or not written).

// Writes the eight default lines when the file is missing; false only when that failed.
bool CreateDefaultConfig(const QString& programFolder);
// The two options, the missed-run choice (Wait unless the file names another), which ended
// runs are told (WhenDeleted unless the file names another) and whether new jobs move to the
// trash (only NewJobsMoveToTrash=1 says so), and after how many days what runs moved to the
// trash is emptied (TrashDays, 0 to MaxTrashDays; else the default).
void LoadOptions(JobTable& table, const QString& programFolder);
// Rows of the numbered job sections, icons judged against now at minute resolution. Never
// fails: a missing or unreadable file gives an empty table; a hand-edited TotalJob that is
// not a count from 0 to 32767 loads every numbered section 1..32767 that the file has.
void LoadJobList(JobTable& table, const QString& programFolder, const QDateTime& now);
// Removes the old job sections (1..TotalJob of the file) and writes the table as sections
// 1..N and TotalJob = N; numbered sections above the old TotalJob stay as they are. A
// successful save leaves the table clean and gives the fingerprint of what it wrote.
bool SaveJobList(JobTable& table, const QString& programFolder, QByteArray* fingerprint = nullptr);
// The two options, then the missed-run and run-results choices and, when given, whether new
// jobs move to the trash and the days to empty it after, each written only when it is not the default (the
// default removes it), so that a file that keeps the defaults stays byte for byte as it was.
bool SaveOptions(const QString& programFolder, const QString& lookPurgeBy, const QString& deleteSpecific,
                 MissedRun missedRun, RunResults runResults,
                 std::optional<bool> newJobsMoveToTrash = std::nullopt,
                 std::optional<int> trashDays = std::nullopt);
bool DeleteJobSection(const QString& programFolder, const QString& section);

// A fingerprint of the file's bytes as they are now (empty when it is missing or unreadable),
// to tell whether it changed since it was last loaded or saved.
QByteArray ConfigFingerprint(const QString& programFolder);

// Whether a folder text comes back identical through a save and a load. One that would not
// (a line break, text that stands for no bytes) names another folder after a restart, so a
// job on it is never launched.
bool FolderRoundTrips(const QString& folder);
