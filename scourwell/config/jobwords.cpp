// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobwords.h"

namespace {

constexpr Word<JobStatus> StatusWords[] = {
    {JobStatus::Enabled, QLatin1StringView("Enabled")},
    {JobStatus::Disabled, QLatin1StringView("Disabled")},
};

constexpr Word<ScheduleKind> ScheduleKindWords[] = {
    {ScheduleKind::Routine, QLatin1StringView("Routine")},
    {ScheduleKind::Specific, QLatin1StringView("Specific")},
};

constexpr Word<PurgeStyle> PurgeStyleWords[] = {
    {PurgeStyle::FilesOnly, QLatin1StringView("Files Only")},
    {PurgeStyle::IncludeFilesInSubfolders, QLatin1StringView("Include Files in Subfolders")},
    {PurgeStyle::SubfoldersOnly, QLatin1StringView("Subfolders Only")},
};

constexpr Word<DateKind> DateKindWords[] = {
    {DateKind::Created, QLatin1StringView("Date: Created")},
    {DateKind::LastModified, QLatin1StringView("Date: Last Modified")},
    {DateKind::LastAccessed, QLatin1StringView("Date: Last Accessed")},
};

constexpr Word<TimeUnit> TimeUnitWords[] = {
    {TimeUnit::Minute, QLatin1StringView("Minute")},
    {TimeUnit::Hour, QLatin1StringView("Hour")},
    {TimeUnit::Day, QLatin1StringView("Day")},
    {TimeUnit::Month, QLatin1StringView("Month")},
};

const Word<MissedRun> MissedRunWords[] = {
    {MissedRun::MoveOn, QLatin1StringView("MoveOn")},
    {MissedRun::RunOnce, QLatin1StringView("RunOnce")},
};

const Word<RunResults> RunResultsWords[] = {
    {RunResults::Every, QLatin1StringView("Every")},
    {RunResults::Never, QLatin1StringView("Never")},
};

} // namespace

template <> std::span<const Word<JobStatus>> Words()
{
    return StatusWords;
}

template <> std::span<const Word<ScheduleKind>> Words()
{
    return ScheduleKindWords;
}

template <> std::span<const Word<PurgeStyle>> Words()
{
    return PurgeStyleWords;
}

template <> std::span<const Word<DateKind>> Words()
{
    return DateKindWords;
}

template <> std::span<const Word<TimeUnit>> Words()
{
    return TimeUnitWords;
}

template <> std::span<const Word<MissedRun>> Words()
{
    return MissedRunWords;
}

template <> std::span<const Word<RunResults>> Words()
{
    return RunResultsWords;
}
