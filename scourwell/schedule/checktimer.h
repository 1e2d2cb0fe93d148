// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "purge/launchvalues.h"

#include <QDateTime>
#include <QString>
#include <vector>

class JobTable;
enum class MissedRun;

// A missed run that the tick moved on without running it.
struct MovedOnRun
{
    QString folder;
    QString missed;  // the NextRun that passed
    QString nextRun; // the one it was moved on to
};

struct TickOutcome
{
    bool saveNeeded = false;
    std::vector<MovedOnRun> movedOn;
};

// The decisions of one tick of TimerCheckJob, without the save: launches the due rows, moves
// Routine jobs on and retires Specific jobs. A due row that cannot be launched (WhyNotLaunched)
// or a Routine one without a valid count and unit is left as it is. Rows whose next run passed
// without being due (not the minutes that summer time skips, which are due just after) are
// missed: missedRun decides whether an enabled Routine one shows as passed (icon 3), moves on,
// or runs once and moves on; disabled ones never run, and other rows only show as passed.
TickOutcome CheckJobs(JobTable& table, const QDateTime& now, JobLauncher& launcher,
                      const QString& programFolder, MissedRun missedRun);

// One tick of TimerCheckJob with the table's missed-run choice: CheckJobs, then a save of
// ConfigDat.ini when anything changed. Returns whether it saved.
bool TimerCheckJobTick(JobTable& table, const QDateTime& now, JobLauncher& launcher,
                       const QString& programFolder);

// Why launch values could not be run, for a window to show; empty when they can. Refused: an
// unknown purge style, a folder text that would not come back identical through the file
// (FolderRoundTrips), a Status neither "Enabled" nor "Disabled", a threshold that is no whole
// number of 0 or more, an unknown threshold unit or date kind.
QString WhyNotLaunched(const LaunchValues& values);
// The same for row index (0-based) with the table's date kind.
QString WhyNotLaunched(const JobTable& table, int index);

// The collectors build the ten launch values of row index (0-based) and launch them by the
// row's FileFolderStyle; values that WhyNotLaunched refuses launch nothing.
void CollectCheck(const JobTable& table, int index, JobLauncher& launcher);
void CollectCheckSpecific(const JobTable& table, int index, JobLauncher& launcher);
void CollectCheckManually(const JobTable& table, int index, const QDateTime& now, JobLauncher& launcher);
