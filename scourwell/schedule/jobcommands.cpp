// SPDX-License-Identifier: GPL-3.0-or-later
#include "schedule/jobcommands.h"

#include "config/jobtable.h"
#include "config/runtime.h"

namespace {

bool IsRow(const JobTable& table, int index)
{
    return index >= 0 && index < table.Count();
}

void SetState(JobTable& table, int index, RowIcon icon, JobStatus status)
{
    JobRow row = table.Row(index);
    row.icon = icon;
    row.Status = status;
    table.Update(index, std::move(row));
}

// The run times are compared as date-times: as texts "MM/dd/yyyy hh:nn AM/PM" would order
// 01:00 PM before 11:00 AM and a January before the December of the year before.
bool RunsAfter(const JobRow& row, const WallClockTime& presentMinute)
{
    const std::optional<WallClockTime> next = ParseFullForm(row.NextRun);
    return next && *next > presentMinute;
}

int SwitchAll(JobTable& table, const QDateTime& now, RowIcon fromIcon, RowIcon toIcon, JobStatus status)
{
    const WallClockTime presentMinute = WallClockTime::Of(now);
    int changed = 0;
    for (int i = 0; i < table.Count(); ++i) {
        const JobRow& row = table.Row(i);
        if (row.icon != fromIcon || !RunsAfter(row, presentMinute))
            continue;
        SetState(table, i, toIcon, status);
        ++changed;
    }
    return changed;
}

} // namespace

void EnableJob(JobTable& table, int index)
{
    if (IsRow(table, index))
        SetState(table, index, RowIcon::Enabled, JobStatus::Enabled);
}

void DisableJob(JobTable& table, int index)
{
    if (IsRow(table, index))
        SetState(table, index, RowIcon::Disabled, JobStatus::Disabled);
}

void DeleteJob(JobTable& table, int index)
{
    if (IsRow(table, index))
        table.Remove(index);
}

int Enable_All_List(JobTable& table, const QDateTime& now)
{
    return SwitchAll(table, now, RowIcon::Disabled, RowIcon::Enabled, JobStatus::Enabled);
}

int Disable_All_List(JobTable& table, const QDateTime& now)
{
    return SwitchAll(table, now, RowIcon::Enabled, RowIcon::Disabled, JobStatus::Disabled);
}
