// SPDX-License-Identifier: GPL-3.0-or-later
#include "schedule/schedulemath.h"

#include "config/jobtable.h"
#include "config/jobwords.h"
#include "config/runtime.h"

#include <limits>

namespace {

// When summer time begins the local clock skips the wall-clock times of an hour (or half
// hour, or day). A sum of minutes or hours that lands there would name a minute that never
// comes, and the job would never be due again; read with the offset in force before the skip
// it moves on by the skip's length instead: where the same span of elapsed time lands
// (01:30 + 1 hour = 03:30 that night), so an hourly job keeps its minute past the hour.
WallClockTime PastSkippedTime(const WallClockTime& wall)
{
    return WallClockTime::Of(wall.ToLocalTime());
}

// Wall-clock arithmetic: the night summer time ends, 01:30 AM + 1 hour is 02:30 AM, not a
// second 01:30 AM that would leave the job due; days and months keep the time of day.
WallClockTime Add(const WallClockTime& base, int count, TimeUnit unit)
{
    switch (unit) {
    case TimeUnit::Minute:
        return PastSkippedTime(base.AddMinutes(count));
    case TimeUnit::Hour:
        return PastSkippedTime(base.AddMinutes(count * 60LL));
    case TimeUnit::Day:
        return base.AddDays(count);
    case TimeUnit::Month:
        return base.AddMonths(count);
    }
    return base;
}

// The NextRun text the move-on rule gives row, or nullopt when it leaves the row unchanged.
std::optional<QString> MovedOnNextRun(const JobRow& row, const QDateTime& now)
{
    const std::optional<int> count = RecurrenceCount(row.ValEvery);
    const std::optional<TimeUnit> unit = row.ValOfEvery.Value();
    if (!count || !unit)
        return std::nullopt;
    const WallClockTime next = Add(WallClockTime::Of(now), *count, *unit);
    if (*unit == TimeUnit::Minute || *unit == TimeUnit::Hour)
        return FullForm(next);
    const std::optional<WallClockTime> old = ParseFullForm(row.NextRun);
    if (!old)
        return std::nullopt;
    return DateForm(next) + QLatin1Char(' ') + TimeForm(*old);
}

} // namespace

std::optional<int> RecurrenceCount(const QString& valEvery)
{
    bool ok = false;
    const int count = valEvery.trimmed().toInt(&ok);
    if (!ok || count < 1 || count > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return count;
}

WallClockTime GetNextRun(int count, const QString& unit, const WallClockTime& base, const QDateTime& now)
{
    const std::optional<TimeUnit> known = ParseWord<TimeUnit>(unit);
    return !known || base > WallClockTime::Of(now) ? base : Add(base, count, *known);
}

bool MoveOn(JobTable& table, int index, const QDateTime& now)
{
    const std::optional<QString> next = MovedOnNextRun(table.Row(index), now);
    if (!next || *next == table.Row(index).NextRun)
        return false;
    JobRow row = table.Row(index);
    row.NextRun = *next;
    table.Update(index, std::move(row));
    return true;
}

void AdjustDate(JobTable& table, int index, const QDateTime& now)
{
    JobRow row = table.Row(index);
    const std::optional<WallClockTime> old = ParseFullForm(row.NextRun);
    if (!old || WallClockTime::Of(now) < *old)
        return;
    if (const std::optional<QString> next = MovedOnNextRun(row, now))
        row.NextRun = *next;
    ClearPassed(row);
    table.Update(index, std::move(row));
}

void ClearPassed(JobRow& row)
{
    if (row.icon == RowIcon::EnabledPassed) {
        row.icon = RowIcon::Enabled;
        row.Status = JobStatus::Enabled;
    } else if (row.icon == RowIcon::DisabledPassed) {
        row.icon = RowIcon::Disabled;
        row.Status = JobStatus::Disabled;
    }
}
