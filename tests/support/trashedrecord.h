// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "purge/runrecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <utility>
#include <vector>

// An item a trash run moved: its original path and its path in the trash.
using TrashedItem = std::pair<QByteArray, QByteArray>;

// The record of a trash run on jobFolder begun at start, naming these items.
inline void RecordTrashRun(const QString& programFolder, const QByteArray& jobFolder, const QDateTime& start,
                           const std::vector<TrashedItem>& items)
{
    RunRecordWriter writer(programFolder, QFile::decodeName(jobFolder), QStringLiteral("Files Only"),
                           Removal::MoveToTrash, start);
    for (const auto& [original, trashPath] : items) {
        ItemDecision decision;
        decision.path = original;
        writer.Add({decision, trashPath});
    }
    PurgeResult result;
    result.outcome = PurgeOutcome::Complete;
    writer.Finish(result);
}
