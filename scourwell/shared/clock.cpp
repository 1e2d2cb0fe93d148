// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/clock.h"

namespace {
class SystemClock : public Clock
{
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};
} // namespace

const Clock& Clock::System()
{
    static const SystemClock clock;
    return clock;
}
