// SPDX-License-Identifier: GPL-3.0-or-later
#include "schedule/jobedit.h"

#include "config/jobtable.h"
#include "config/runtime.h"
#include "schedule/schedulemath.h"
#include "shared/bytetext.h"

#include <QDir>
#include <algorithm>

namespace {

// The fields every write takes from the dialog; a row whose Style the dialog could not show
// keeps its Style and recurrence.
void WriteFields(JobRow& row, const JobEditValues& values)
{
    row.FolderLoc = values.folder;
    row.ValPurge = values.valPurge;
    row.ValOfPurge = StoredWord<TimeUnit>(values.valOfPurge);
    row.Description = values.description;
    row.FileFolderStyle = StoredWord<PurgeStyle>(values.fileFolderStyle);
    row.MoveToTrash = values.moveToTrash.value_or(row.MoveToTrash);
    if (!values.kind)
        return;
    row.Style = *values.kind;
    switch (*values.kind) {
    case ScheduleKind::Routine:
        row.ValEvery = values.valEvery;
        row.ValOfEvery = StoredWord<TimeUnit>(values.valOfEvery);
        break;
    case ScheduleKind::Specific:
        row.ValEvery = QStringLiteral(" ");
        row.ValOfEvery = StoredWord<TimeUnit>(QStringLiteral(" "));
        break;
    }
}

// A new job never starts in the past: its date and its time of day are each raised to the
// present on their own, so a later date keeps a time of day no earlier than now's.
WallClockTime StartOfNewJob(const WallClockTime& picked, const WallClockTime& presentMinute)
{
    return WallClockTime(std::max(picked.Date(), presentMinute.Date()),
                         std::max(picked.Time(), presentMinute.Time()));
}

// Re-bases a passed routine job on the present: one step on from now; days and months keep
// the picked time of day.
void AdjustPassedRun(JobRow& row, const JobEditValues& values, const WallClockTime& presentMinute,
                     const QDateTime& now)
{
    const std::optional<int> count = RecurrenceCount(values.valEvery);
    const std::optional<TimeUnit> unit = ParseWord<TimeUnit>(values.valOfEvery);
    if (count && unit) {
        const WallClockTime next = GetNextRun(*count, values.valOfEvery, presentMinute, now);
        if (*unit == TimeUnit::Minute || *unit == TimeUnit::Hour)
            row.NextRun = FullForm(next);
        else
            row.NextRun = DateForm(next) + QLatin1Char(' ') + TimeForm(values.picked);
    }
    ClearPassed(row);
}

// Stores the picked run and marks the row passed or not by it. Compared as date-times: as
// "MM/dd/yyyy hh:nn AM/PM" texts 01:00 PM would come before 11:00 AM and a January before
// the December of the year before.
void StorePickedRun(JobRow& row, const WallClockTime& picked, const WallClockTime& presentMinute)
{
    row.NextRun = FullForm(picked);
    if (presentMinute > picked) {
        if (row.icon == RowIcon::Enabled)
            row.icon = RowIcon::EnabledPassed;
        else if (row.icon == RowIcon::Disabled)
            row.icon = RowIcon::DisabledPassed;
    } else if (presentMinute < picked) {
        if (row.icon == RowIcon::EnabledPassed)
            row.icon = RowIcon::Enabled;
        else if (row.icon == RowIcon::DisabledPassed)
            row.icon = RowIcon::Disabled;
    }
}

} // namespace

quint64 WriteNewJob(JobTable& table, const JobEditValues& values, const QDateTime& now)
{
    JobRow row;
    row.icon = RowIcon::Enabled;
    row.Status = JobStatus::Enabled;
    WriteFields(row, values);
    WallClockTime start = StartOfNewJob(values.picked, WallClockTime::Of(now));
    if (values.kind == ScheduleKind::Routine) {
        if (const std::optional<int> count = RecurrenceCount(values.valEvery))
            start = GetNextRun(*count, values.valOfEvery, start, now);
    }
    row.NextRun = FullForm(start);
    return table.Append(std::move(row));
}

bool WriteEditedJob(JobTable& table, quint64 id, const JobEditValues& values, const QDateTime& now)
{
    const int index = table.IndexOf(id);
    if (index < 0)
        return false;
    JobRow row = table.Row(index);
    WriteFields(row, values);
    const WallClockTime presentMinute = WallClockTime::Of(now);
    // The adjust only re-bases a routine run that has passed; otherwise the picked run is
    // what the user asked for and is stored as it is.
    if (values.adjust && values.kind == ScheduleKind::Routine && presentMinute > values.picked)
        AdjustPassedRun(row, values, presentMinute, now);
    else
        StorePickedRun(row, values.picked, presentMinute);
    table.Update(index, std::move(row));
    return true;
}

bool FolderExists(const QString& path)
{
    return !path.isEmpty() && QDir::isAbsolutePath(path) && PathExists(path);
}

bool IsFolderInList(const JobTable& table, const QString& path)
{
    const std::vector<JobRow>& rows = table.Rows();
    return std::any_of(rows.begin(), rows.end(),
                       [&path](const JobRow& row) { return row.FolderLoc == path; });
}
