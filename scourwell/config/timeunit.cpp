#include "config/timeunit.h"

std::optional<TimeUnit> TimeUnitFromText(const QString& text)
{
    const QString unit = text.toLower();
    if (unit == QLatin1String("minute"))
        return TimeUnit::Minute;
    if (unit == QLatin1String("hour"))
        return TimeUnit::Hour;
    if (unit == QLatin1String("day"))
        return TimeUnit::Day;
    if (unit == QLatin1String("month"))
        return TimeUnit::Month;
    return std::nullopt;
}

bool IsScheduleUnit(const QString& unit)
{
    return TimeUnitFromText(unit).has_value();
}
