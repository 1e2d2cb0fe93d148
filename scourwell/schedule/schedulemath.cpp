#include "schedule/schedulemath.h"

#include "config/jobtable.h"
#include "schedule/runtime.h"

#include <limits>

namespace {

enum class Unit
{
    Minute,
    Hour,
    Day,
    Month
};

std::optional<Unit> UnitFromText(const QString& text)
{
    const QString unit = text.toLower();
    if (unit == QLatin1String("minute"))
        return Unit::Minute;
    if (unit == QLatin1String("hour"))
        return Unit::Hour;
    if (unit == QLatin1String("day"))
        return Unit::Day;
    if (unit == QLatin1String("month"))
        return Unit::Month;
    return std::nullopt;
}

// Minutes and hours are elapsed time, so a run every few minutes goes on across a change of
// summer time; days and months keep the wall-clock time of day.
QDateTime Add(const QDateTime& base, int count, Unit unit)
{
    switch (unit) {
    case Unit::Minute:
        return base.addSecs(count * 60LL);
    case Unit::Hour:
        return base.addSecs(count * 3600LL);
    case Unit::Day:
        return base.addDays(count);
    case Unit::Month:
        return base.addMonths(count);
    }
    return base;
}

// The NextRun text the move-on rule gives row, or nullopt when it leaves the row unchanged.
std::optional<QString> MovedOnNextRun(const JobRow& row, const QDateTime& now)
{
    const std::optional<int> count = RecurrenceCount(row.ValEvery());
    const std::optional<Unit> unit = UnitFromText(row.ValOfEvery());
    if (!count || !unit)
        return std::nullopt;
    const QDateTime present = CutToMinute(now);
    const QDateTime next = CutToMinute(Add(present, *count, *unit));
    if (*unit == Unit::Minute || *unit == Unit::Hour)
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
    return UnitFromText(unit).has_value();
}

QDateTime GetNextRun(int count, const QString& unit, const QDateTime& base, const QDateTime& now)
{
    const std::optional<Unit> known = UnitFromText(unit);
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
    if (row.icon == RowIcon::EnabledPassed) {
        row.icon = RowIcon::Enabled;
        row.SetStatus(QStringLiteral("Enabled"));
    } else if (row.icon == RowIcon::DisabledPassed) {
        row.icon = RowIcon::Disabled;
        row.SetStatus(QStringLiteral("Disabled"));
    }
    table.Update(index, std::move(row));
}
