// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/jobwords.h"
#include "config/runtime.h"

#include <QDateTime>
#include <QString>
#include <optional>

class JobTable;

// What the job properties dialog holds when Ok has passed its checks.
struct JobEditValues
{
    QString folder;
    QString valPurge;
    QString valOfPurge;
    QString description;
    // The schedule option selected; none only when editing a row whose Style is neither word,
    // which then keeps its Style and recurrence.
    std::optional<ScheduleKind> kind;
    QString fileFolderStyle;
    QString valEvery;
    QString valOfEvery;
    WallClockTime picked; // the date and time pickers' run
    bool adjust = false;
    // Whether the job's runs move what goes to the trash; none keeps the row's (off for a new
    // job), so that a dialog without the choice never turns it off.
    std::optional<bool> moveToTrash;
};

// Appends an enabled job. Its start is the picked date and time of day, each raised to the
// present separately; a routine job's NextRun is GetNextRun from that start. Returns the id.
quint64 WriteNewJob(JobTable& table, const JobEditValues& values, const QDateTime& now);

// Writes the values into the row with this id, wherever it is now. False, and nothing
// written, when that row has left the table.
bool WriteEditedJob(JobTable& table, quint64 id, const JobEditValues& values, const QDateTime& now);

// A name of the file system: a folder or a file, given as an absolute path. A relative path
// would purge whatever folder the program happens to be started in, so it is not found. The
// name is looked up as the bytes it stands for (see TextFromBytes).
bool FolderExists(const QString& path);
// Whether some row's folder equals path exactly, letter case included.
bool IsFolderInList(const JobTable& table, const QString& path);
