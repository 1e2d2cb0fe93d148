#pragma once

#include "purge/launchvalues.h"

#include <QDateTime>
#include <QString>

class JobTable;

// One tick of TimerCheckJob: launches the due rows, moves Routine jobs on, retires Specific
// jobs, and saves ConfigDat.ini when anything changed. Returns whether it saved. A due row
// with an unknown purge style, a folder that would not survive the save, or a Routine one
// without a valid count and unit, is left as it is: it could not be launched or moved on.
bool TimerCheckJobTick(JobTable& table, const QDateTime& now, JobLauncher& launcher,
                       const QString& programFolder);

// The collectors build the ten launch values of row index (0-based) and launch them by the
// row's FileFolderStyle; an unknown style launches nothing, nor does a folder text that would
// not come back identical through the file (FolderRoundTrips).
void CollectCheck(const JobTable& table, int index, JobLauncher& launcher);
void CollectCheckSpecific(const JobTable& table, int index, JobLauncher& launcher);
void CollectCheckManually(const JobTable& table, int index, const QDateTime& now, JobLauncher& launcher);
