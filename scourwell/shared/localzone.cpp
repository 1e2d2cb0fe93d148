// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/localzone.h"

#include <QtNumeric>
#include <limits>

namespace {

// The seconds a QDateTime holds, as milliseconds in 64 bits, both as an instant and as the
// local date and time of one.
constexpr qint64 DateTimeLimit = std::numeric_limits<qint64>::max() / 1000;

bool DateTimeHolds(qint64 seconds)
{
    return seconds >= -DateTimeLimit && seconds <= DateTimeLimit;
}

qint64 FloorToMinute(qint64 seconds)
{
    const qint64 rest = seconds % 60;
    if (rest >= 0)
        return seconds - rest;
    qint64 cut = 0;
    return qSubOverflow(seconds - rest, qint64(60), &cut) ? std::numeric_limits<qint64>::min() : cut;
}

} // namespace

qint64 LocalMinute(qint64 secondsSinceEpoch)
{
    if (!DateTimeHolds(secondsSinceEpoch))
        return FloorToMinute(secondsSinceEpoch);
    const qint64 offset = UtcOffsetAt(secondsSinceEpoch);
    const qint64 local = secondsSinceEpoch + offset;
    if (!DateTimeHolds(local))
        return FloorToMinute(secondsSinceEpoch);
    // The local seconds are dropped from the instant, as a QDateTime steps back by them, and
    // the result is read at the instant reached: an offset with seconds (local mean time) can
    // change within the minute.
    const qint64 seconds = local - FloorToMinute(local);
    if (seconds == 0)
        return local;
    const qint64 cut = secondsSinceEpoch - seconds;
    return cut + UtcOffsetAt(cut);
}

QDateTime LocalWallTime(qint64 secondsSinceEpoch)
{
    const qint64 local = DateTimeHolds(secondsSinceEpoch) ? secondsSinceEpoch + UtcOffsetAt(secondsSinceEpoch)
                                                          : secondsSinceEpoch;
    return QDateTime::fromSecsSinceEpoch(DateTimeHolds(local) ? local : secondsSinceEpoch, Qt::UTC);
}
