// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/localzone.h"

#include <ctime>

void LoadLocalZone()
{
    tzset();
}

qint64 UtcOffsetAt(qint64 secondsSinceEpoch)
{
    // localtime_r, unlike localtime and QDateTime, keeps the rules that tzset read.
    const time_t t = secondsSinceEpoch;
    struct tm fields;
    return ::localtime_r(&t, &fields) != nullptr ? fields.tm_gmtoff : 0;
}
