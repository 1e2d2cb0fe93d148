// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/statusrelay.h"

#include "config/jobtable.h"
#include "purge/stringhandling.h"
#include "shared/programfolder.h"

namespace {

// The saved icon, or the present one when nothing was saved (a running icon is never taken
// back to an icon that would let the job be launched by mistake).
RowIcon SavedIconOr(const JobRow& row, RowIcon fallback)
{
    return row.savedIcon && *row.savedIcon != RowIcon::Running ? *row.savedIcon : fallback;
}

} // namespace

void TimerCheckStatTick(JobTable& table, const QString& programFolder)
{
    const QString dumpPath = StatDumpPath(programFolder);
    const std::optional<RunningMarkers> dump = ReadRunningMarkers(dumpPath);
    for (int i = 0; i < table.Count(); ++i) {
        JobRow row = table.Row(i);
        if (row.icon != RowIcon::Running)
            row.savedIcon = row.icon;
        // An unreadable dump shows every job as running until the next tick reads it.
        const bool running = !dump || dump->Has(RunningMarker(row.FolderLoc));
        row.icon = running ? RowIcon::Running : SavedIconOr(row, row.icon);
        table.Update(i, std::move(row));
    }
    // A deleted dump would show every job as running, and so launch none, until a restart.
    if (!dump)
        HealStatusDump(dumpPath);
}
