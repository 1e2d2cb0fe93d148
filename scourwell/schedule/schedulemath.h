// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/runtime.h"

#include <QDateTime>
#include <QString>
#include <optional>

class JobTable;
struct JobRow;

// ValEvery read as a recurrence count: a whole number from 1 to 32767, else nullopt. A count
// of 0 or less would never move a job past the present minute, so it is no count.
std::optional<int> RecurrenceCount(const QString& valEvery);

// base plus count units when base has come (base <= the minute the clock shows at now), else
// base. Units "minute", "hour", "day", "month" in any case, added on the wall clock; a month is
// a calendar month, clamped to the month's last day; a sum of minutes or hours that the clock
// skips at the start of summer time moves on by the skip. Any other unit: base.
WallClockTime GetNextRun(int count, const QString& unit, const WallClockTime& base, const QDateTime& now);

// The move-on rule on row index (0-based): the next run is counted from the present minute;
// day and month units keep the old time of day. A row without a valid count and unit (or,
// for days and months, without a readable NextRun) is left as it is. Returns whether NextRun
// changed.
bool MoveOn(JobTable& table, int index, const QDateTime& now);

// Adjust Date on row index (0-based): a passed next run moves on and a passed icon (3, 4)
// becomes its not-passed one (1, 2) with Status "Enabled" or "Disabled". A NextRun that is
// not a date-time leaves the row as it is.
void AdjustDate(JobTable& table, int index, const QDateTime& now);

// A passed icon (3, 4) becomes its not-passed one (1, 2) with Status "Enabled" or "Disabled";
// other icons stay.
void ClearPassed(JobRow& row);
