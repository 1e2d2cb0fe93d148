#pragma once

#include <QByteArray>
#include <ctime>

// Central European rules without the time zone database: summer time from the last Sunday of
// March, 02:00, to the last Sunday of October, 03:00. Set before any local time is used.
inline void UseCentralEuropeanTime()
{
    qputenv("TZ", QByteArrayLiteral("CET-1CEST,M3.5.0,M10.5.0/3"));
    tzset();
}
