// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shared/clock.h"

#include <mutex>

// A clock that shows the time a test sets; safe to read from worker threads.
class MockClock : public Clock
{
public:
    explicit MockClock(QDateTime now = QDateTime::currentDateTime()) : m_now(std::move(now)) {}
    QDateTime Now() const override
    {
        std::lock_guard lock(m_mutex);
        return m_now;
    }
    void Set(const QDateTime& now)
    {
        std::lock_guard lock(m_mutex);
        m_now = now;
    }

private:
    mutable std::mutex m_mutex;
    QDateTime m_now;
};
