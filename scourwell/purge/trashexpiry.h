// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <atomic>
#include <optional>

// Empties from the trash what runs of this program folder moved there more than days days
// before now, and nothing else: only the entries that its run records name, each only while
// its .trashinfo still names the item's original path (another program may have taken the
// name since). The date is the .trashinfo's DeletionDate, or the run's start where it has
// none. An entry goes first, then its .trashinfo, never through a link; a folder goes whole,
// and one that cannot be emptied whole keeps its .trashinfo. days 0 empties nothing. stop
// ends it before the next entry. Gives the count of entries emptied.
qint64 EmptyExpiredTrash(const QString& programFolder, const QDateTime& now, int days,
                         const std::atomic_bool& stop);
