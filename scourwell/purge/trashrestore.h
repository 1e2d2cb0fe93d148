// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "purge/runrecord.h"

#include <QByteArray>
#include <atomic>
#include <functional>
#include <vector>

// Undoing a trash run: every item of its record that is still in the trash goes back where it
// was, never over anything that is there now.

enum class RestoreOutcome
{
    Restored,
    PlaceTaken,    // something is where it was: it stays in the trash
    GoneFromTrash, // no longer in the trash, or its entry there names another item
    ParentMissing, // the folder it was in is gone, or no folder (a link) now
    Failed,        // the move back failed
    NotReached     // the undo was stopped before it
};

struct RestoredItem
{
    QByteArray path;      // where it was, and is again when restored
    QByteArray trashPath; // where the record says it went
    RestoreOutcome outcome = RestoreOutcome::NotReached;
};

struct RestoreResult
{
    // Every item of the record, last removed first (the order they are put back in).
    std::vector<RestoredItem> items;
    qint64 restored = 0;
    bool stopped = false;
};

// Heard after each item: how many are done of how many in all.
using RestoreProgress = std::function<void(qint64 done, qint64 total)>;

// Puts back the items of record (read with its items) that are still in the trash, the last
// removed first, so that a folder comes back before what was in it. An item goes back only
// when its .trashinfo names the place it was, and only into a folder reached from the job
// folder without following a link; its .trashinfo is removed once it is back. Renamed, never
// copied: an item keeps its dates. stop is checked before each item.
RestoreResult RestoreFromTrash(const RunRecord& record, const std::atomic_bool& stop,
                               const RestoreProgress& progress = {});
