// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// Local wall-clock times of instants by rules read once, not per conversion: a QDateTime in
// local time looks at the zone file again for every conversion, which a purge of many items
// cannot afford.

// Reads the local zone's rules (TZ, else the system's zone) for the conversions that follow,
// in every thread. Calls made before it use the rules read last.
void LoadLocalZone();

// The local time's offset from UTC at t, in seconds; 0 where the C library cannot say.
qint64 UtcOffsetAt(qint64 secondsSinceEpoch);

// The local wall-clock time of t cut to the minute, as seconds of a clock without summer time
// (the local date and time read as UTC), as a local QDateTime cut to the minute shows them.
// Beyond the years a QDateTime holds, t itself cut to the minute; the least value where even
// that is out of range.
qint64 LocalMinute(qint64 secondsSinceEpoch);

// The local wall-clock date and time of t, to the second, for showing it: a QDateTime in UTC
// whose date and time read as the local ones, so that formatting it asks no zone file. Beyond
// the years a QDateTime holds as a local time, t's own UTC date and time.
QDateTime LocalWallTime(qint64 secondsSinceEpoch);
