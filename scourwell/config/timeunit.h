#pragma once

#include <QString>
#include <optional>

// The four unit words of thresholds and recurrences, compared lower-cased.
enum class TimeUnit
{
    Minute,
    Hour,
    Day,
    Month
};

std::optional<TimeUnit> TimeUnitFromText(const QString& text);
// Whether unit is "minute", "hour", "day" or "month" in any case.
bool IsScheduleUnit(const QString& unit);
