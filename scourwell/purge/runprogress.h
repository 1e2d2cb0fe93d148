// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "purge/purgeengine.h"

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <atomic>

// What a run has done so far, for a window to show while it runs: the items decided, those
// decided to go and their bytes, and the folder of a recent item.
struct RunProgress
{
    qint64 examined = 0;
    qint64 removed = 0;
    qint64 bytes = 0;
    bool sizesKnown = true; // see PurgeResult
    QString folder;
};

// Counts a run's decisions on its worker while any thread takes snapshots. Cheap per item:
// the counters are relaxed atomics, and the place is copied under the lock once in so many
// items, as a lock and a copy for every item would cost the run more than a window gains.
class ProgressCounter
{
public:
    void Note(const ItemDecision& decision);
    RunProgress Snapshot() const;

private:
    std::atomic<qint64> m_examined = 0;
    std::atomic<qint64> m_removed = 0;
    std::atomic<qint64> m_bytes = 0;
    std::atomic<bool> m_sizesKnown = true;
    mutable QMutex m_placeMutex;
    QByteArray m_place;
};
