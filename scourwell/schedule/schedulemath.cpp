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
QDateTime PastSkippedTime(const QDateTime& wall)
{
    return WallClock(RunTime(wall.date(), wall.time()).toLocalTime());
}

// Wall-clock arithmetic on wall-clock fields: the night summer time ends, 01:30 AM + 1 hour is
// 02:30 AM, not a second 01:30 AM that would leave the job due; days and months keep the
// time of day.
QDateTime Add(const QDateTime& base, int count, TimeUnit unit)
{
    switch (unit) {
    case TimeUnit::Minute:
        return PastSkippedTime(base.addSecs(count * 60LL));
    case TimeUnit::Hour:
        return PastSkippedTime(base.addSecs(count * 3600LL));
    case TimeUnit::Day:
        return base.addDays(count);
    case TimeUnit::Month:
        return base.addMonths(count);
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
    const QDateTime next = Add(PresentMinute(now), *count, *unit);
    if (*unit == TimeUnit::Minute || *unit == TimeUnit::Hour)
        return FullForm(next);
    const std::optional<QDateTime> old = ParseWallClock(row.NextRun);
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

QDateTime GetNextRun(int count, const QString& unit, const QDateTime& base, const QDateTime& now)
{
    const QDateTime start = WallClock(base);
    const std::optional<TimeUnit> known = ParseWord<TimeUnit>(unit);
    const QDateTime next =
        CutToMinute(!known || start > PresentMinute(now) ? start : Add(start, count, *known));
    return RunTime(next.date(), next.time());
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
    const std::optional<QDateTime> old = ParseWallClock(row.NextRun);
    if (!old || PresentMinute(now) < *old)
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
