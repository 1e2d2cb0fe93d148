// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class JobTable;

// One tick of TimerCheckStat: rows whose folder has a marker in statdump.tmp show the running
// icon, the others their saved icon. Reads the file once per tick; when it is missing, every
// row shows as running and the file is created anew for the next tick.
void TimerCheckStatTick(JobTable& table, const QString& programFolder);
