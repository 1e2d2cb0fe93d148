#pragma once

#include <QDateTime>
#include <QString>

class JobTable;

// base plus count units when base has come (base <= now cut to the minute), else base;
// cut to the minute. Units "minute", "hour", "day", "month" in any case; a month is a
// calendar month, clamped to the month's last day. Any other unit: base cut to the minute.
QDateTime GetNextRun(int count, const QString& unit, const QDateTime& base, const QDateTime& now);

// The move-on rule on row index (0-based): the next run is counted from the present minute;
// day and month units keep the old time of day. Returns whether NextRun changed.
bool MoveOn(JobTable& table, int index, const QDateTime& now);

// Adjust Date on row index (0-based).
void AdjustDate(JobTable& table, int index, const QDateTime& now);
