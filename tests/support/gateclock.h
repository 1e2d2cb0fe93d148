// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shared/clock.h"

#include <QCoreApplication>
#include <QThread>
#include <condition_variable>
#include <mutex>

// A fixed time that holds every worker thread that asks for it until the test opens the
// gate, so a run stays in flight for as long as the test looks at it.
class GateClock : public Clock
{
public:
    explicit GateClock(QDateTime now) : m_now(std::move(now)) {}
    QDateTime Now() const override
    {
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_open; });
        }
        return m_now;
    }
    void Open()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_changed.notify_all();
    }

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_open = false;
    const QDateTime m_now;
};
