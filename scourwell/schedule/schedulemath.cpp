#include "schedule/schedulemath.h"

#include "config/jobtable.h"
#include "schedule/runtime.h"
#include "schedule/timeunit.h"

#include <limits>

namespace {

// Minutes and hours are elapsed time, so a run every few minutes goes on across a change of
// summer time; days and months keep the wall-clock time of day.
QDateTime Add(const QDateTime& base, int count, TimeUnit unit)
{
    switch (unit) {
    case TimeUnit::Minute:
        return base.addSecs(count * 60LL);
    case TimeUnit::Hour:
        return base.addSecs(count * 3600LL);
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
    const std::optional<int> count = RecurrenceCount(row.ValEvery());
    const std::optional<TimeUnit> unit = TimeUnitFromText(row.ValOfEvery());
    if (!count || !unit)
        return std::nullopt;
    const QDateTime present = CutToMinute(now);
    const QDateTime next = CutToMinute(Add(present, *count, *unit));
    if (*unit == TimeUnit::Minute || *unit == TimeUnit::Hour)
        return FullForm(next);
    const std::optional<QDateTime> old = ParseFullForm(row.NextRun());
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

bool IsScheduleUnit(const QString& unit)
{
    return TimeUnitFromText(unit).has_value();
}

QDateTime GetNextRun(int count, const QString& unit, const QDateTime& base, const QDateTime& now)
{
    const std::optional<TimeUnit> known = TimeUnitFromText(unit);
    if (!known || base > CutToMinute(now))
        return CutToMinute(base);
    return CutToMinute(Add(base, count, *known));
}

bool MoveOn(JobTable& table, int index, const QDateTime& now)
{
    const std::optional<QString> next = MovedOnNextRun(table.Row(index), now);
    if (!next || *next == table.Row(index).NextRun())
        return false;
    JobRow row = table.Row(index);
    row.SetNextRun(*next);
    table.Update(index, std::move(row));
    return true;
}

void AdjustDate(JobTable& table, int index, const QDateTime& now)
{
    JobRow row = table.Row(index);
    const std::optional<QDateTime> old = ParseFullForm(row.NextRun());
    if (!old || CutToMinute(now) < *old)
        return;
    if (const std::optional<QString> next = MovedOnNextRun(row, now))
        row.SetNextRun(*next);
    ClearPassed(row);
    table.Update(index, std::move(row));
}

void ClearPassed(JobRow& row)
{
    if (row.icon == RowIcon::EnabledPassed) {
        row.icon = RowIcon::Enabled;
        row.SetStatus(QStringLiteral("Enabled"));
    } else if (row.icon == RowIcon::DisabledPassed) {
        row.icon = RowIcon::Disabled;
        row.SetStatus(QStringLiteral("Disabled"));
    }
}
