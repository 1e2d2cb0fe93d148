// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

class JobTable;

// The row commands of the job list, on row index (0-based). An index outside the table
// changes nothing, so a command with no selected row is harmless.
void EnableJob(JobTable& table, int index);
void DisableJob(JobTable& table, int index);
void DeleteJob(JobTable& table, int index);

// Enables every disabled row (icon 2) whose NextRun lies after the present minute; rows
// with other icons, a NextRun that has come, or a NextRun that is no date are left alone.
// Returns the number of rows changed.
int Enable_All_List(JobTable& table, const QDateTime& now);
// The same for the enabled rows (icon 1), which become disabled.
int Disable_All_List(JobTable& table, const QDateTime& now);
