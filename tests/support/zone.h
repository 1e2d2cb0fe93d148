// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/runtime.h"

#include <QByteArray>
#include <QList>
#include <QScopeGuard>
#include <QTest>
#include <ctime>

// A comparison of run times that fails shows them in the full form.
inline char* toString(const WallClockTime& t)
{
    return QTest::toString(FullForm(t));
}

// The local instant of a run time in the full form, plus seconds.
inline QDateTime At(const QString& fullForm, int seconds = 0)
{
    return ParseFullForm(fullForm).value().ToLocalTime().addSecs(seconds);
}

// Sets TZ (a zone of the time zone database such as "Europe/Berlin", or POSIX rules) for
// every local time from now on.
inline void UseZone(const QByteArray& zone)
{
    qputenv("TZ", zone);
    tzset();
}

// UseZone until the returned guard goes, which brings back the zone of before.
[[nodiscard]] inline auto ScopedZone(const QByteArray& zone)
{
    const bool wasSet = qEnvironmentVariableIsSet("TZ");
    const QByteArray before = qgetenv("TZ");
    UseZone(zone);
    return qScopeGuard([wasSet, before] {
        if (wasSet)
            qputenv("TZ", before);
        else
            qunsetenv("TZ");
        tzset();
    });
}

// Central European rules without the time zone database: summer time from the last Sunday of
// March, 02:00, to the last Sunday of October, 03:00. Set before any local time is used.
inline void UseCentralEuropeanTime()
{
    UseZone(QByteArrayLiteral("CET-1CEST,M3.5.0,M10.5.0/3"));
}

// The instants at which the local clock shows the full form text: none for a minute that it
// skips, two for one that it shows twice, earliest first.
inline QList<QDateTime> Instants(const QString& text)
{
    const QDateTime local = ParseFullForm(text).value().ToLocalTime();
    QList<QDateTime> instants;
    for (const int shift : {-3600, -1800, 0, 1800, 3600}) {
        if (FullForm(local.addSecs(shift)) == text)
            instants << local.addSecs(shift);
    }
    return instants;
}
