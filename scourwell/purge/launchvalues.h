// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>

// The ten texts that travel from a collector to an executor. A run receives its job as these
// texts alone, taken from the row when it is launched.
struct LaunchValues
{
    QString folder;          // FolderLoc
    QString status;          // Status
    QString threshold;       // ValPurge
    QString thresholdUnit;   // ValOfPurge
    QString startedAs;       // "Routine", "Specific" or "Manual"
    QString purgeStyle;      // FileFolderStyle
    QString recurrenceCount; // ValEvery, or "&nbsp" for a job that does not recur
    QString recurrenceUnit;  // ValOfEvery, or "&nbsp"
    QString runTime;         // the due NextRun, or the present minute of a manual run
    QString dateKind;        // LookPurgeBy
    // Not among the texts: the run moves what goes to the trash.
    bool moveToTrash = false;

    // key1..key10 of the launchers, Label1..Label10 of the executor window: the fields above
    // in the order they are declared.
    std::array<QString, 10> InKeyOrder() const
    {
        return {folder,     status,          threshold,      thresholdUnit, startedAs,
                purgeStyle, recurrenceCount, recurrenceUnit, runTime,       dateKind};
    }

    bool operator==(const LaunchValues&) const = default;
};

// Starts one run per call; each returns once the run (and its window, where there is one)
// has been set up, without waiting for the purge.
class JobLauncher
{
public:
    virtual ~JobLauncher() = default;
    virtual void RunNowPurgeFiles(const LaunchValues& values) = 0;
    virtual void RunNowPurgeFileSubfolders(const LaunchValues& values) = 0;
    virtual void RunNowPurgeSubfolders(const LaunchValues& values) = 0;
};
