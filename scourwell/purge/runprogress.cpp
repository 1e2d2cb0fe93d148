// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/runprogress.h"

#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

void ProgressCounter::Note(const ItemDecision& decision)
{
    constexpr qint64 PlaceEvery = 64;
    if (m_examined.fetch_add(1, std::memory_order_relaxed) % PlaceEvery == 0) {
        const QMutexLocker lock(&m_placeMutex);
        m_place = decision.path.toByteArray();
    }
    if (decision.Removes()) {
        m_removed.fetch_add(1, std::memory_order_relaxed);
        m_bytes.fetch_add(decision.size, std::memory_order_relaxed);
        if (!decision.sizeKnown)
            m_sizesKnown.store(false, std::memory_order_relaxed);
    }
}

RunProgress ProgressCounter::Snapshot() const
{
    RunProgress progress{.examined = m_examined.load(std::memory_order_relaxed),
                         .removed = m_removed.load(std::memory_order_relaxed),
                         .bytes = m_bytes.load(std::memory_order_relaxed),
                         .sizesKnown = m_sizesKnown.load(std::memory_order_relaxed),
                         .folder = {}};
    const QMutexLocker lock(&m_placeMutex);
    if (!m_place.isEmpty())
        progress.folder = QFileInfo(QFile::decodeName(m_place)).path();
    return progress;
}
