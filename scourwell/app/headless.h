// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class JobTable;

// scourwell --headless: the check timer and the executor runs with no window. Makes the
// start-up preparations, keeps to the single-instance rule, says which program folder it
// uses, prints what it loaded at start and at each reload (LoadedJobsText), one line per
// launched, finished and moved-on run, and reads ConfigDat.ini again on SIGHUP. On SIGINT or SIGTERM
// lets the runs stop at their next item and write their rows, then returns 0; runs that have
// not stopped within a bound (or by a second signal) are named and the program ends with 1.
// A closed output never ends it. Creates its own QCoreApplication.
int HeadlessMain(int& argc, char** argv);

// What a load of the jobs found: how many, from which file, and when the next enabled one is
// due; with no job at all, how to add one. Lines without their endings.
QStringList LoadedJobsText(const JobTable& table, const QString& programFolder);
