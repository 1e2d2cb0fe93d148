// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// The present local time. Core code takes it as an argument; windows ask a Clock so that
// tests can set the time.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
    static const Clock& System();
};
