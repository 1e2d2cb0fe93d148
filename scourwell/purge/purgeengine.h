// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/jobwords.h"
#include "shared/clock.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>

// What becomes of the items a run removes.
enum class Removal
{
    Delete,     // deleted for good
    MoveToTrash // moved to the desktop's trash; an item that cannot be moved stays
};

struct PurgeRequest
{
    PurgeStyle style = PurgeStyle::FilesOnly;
    QString folder; // sPath
    DateKind lookByDate = DateKind::LastModified;
    // Items more than purgeVal whole purgeValOf old go.
    qint64 purgeVal = 0;
    TimeUnit purgeValOf = TimeUnit::Day;
    // Never deleted nor descended into: the program folder, its files and the programs.
    QStringList protectedPaths;
    bool dryRun = false;
    Removal removal = Removal::Delete;
};

// The request of a job's texts: its folder, ValPurge, ValOfPurge and the LookPurgeBy option.
// None when the threshold is no whole number of 0 or more, or the unit or the date kind names
// no word of its table, for then an age means nothing and nothing may go.
std::optional<PurgeRequest> PurgeRequestOf(PurgeStyle style, const QString& folder, const QString& valPurge,
                                           const QString& valOfPurge, const QString& lookPurgeBy);

// The program's own files, which no purge may delete: the program folder, its ConfigDat.ini,
// quillon.ini, statdump.tmp, Logs and the window state files, and what is shipped beside the program, in the
// program and executable folders.
QStringList ProtectedPaths(const QString& programFolder, const QString& executableFolder);

// Whether folder is the file-system root (also through a link), which no job may purge.
bool IsFileSystemRoot(const QString& folder);

// ValPurge read as a threshold: a whole number of 0 or more, else nullopt.
std::optional<qint64> PurgeThreshold(const QString& valPurge);

// Whole units of unit from itemDate to now, both as local wall-clock times cut to the minute
// (so a summer-time change adds or takes no hour).
qint64 GetObjectAge(const QDateTime& itemDate, TimeUnit unit, const QDateTime& now);
void GetValue(qint64 dhn, qint64& dayIs, qint64& hourIs, qint64& minIs);

enum class PurgeOutcome
{
    Complete,
    Stopped,  // stop was set: the items after it are left
    NotOpened // the folder could not be opened or was refused, or the request is none to run
};

struct PurgeResult
{
    qint64 count = 0; // deleted (in a dry run, that would be): files + folders
    qint64 files = 0; // links among them
    qint64 folders = 0;
    qint64 bytes = 0; // of the files, and of everything in the folders whose size is known
    // False when a folder went whose size was not read (see ItemDecision::sizeKnown): bytes is
    // then less than what went.
    bool sizesKnown = true;
    PurgeOutcome outcome = PurgeOutcome::NotOpened;
};

enum class PurgeItemKind
{
    File,
    Folder,
    Link,
    Other // socket, pipe, device
};

// Why an item goes or stays. Only OldEnough goes.
enum class DecisionReason
{
    OldEnough,
    TooYoung,
    Hidden,
    Protected,       // a program file or folder
    OtherFileSystem, // a mount point
    NotRegular,      // neither file, folder nor link
    Unreadable,      // its status, or the folder, could not be read
    HoldsKept        // a subfolder holding something that must stay
};

// A decided item's kind as a dry run writes it: "file", "folder", "link" or "other".
QByteArray KindWord(PurgeItemKind kind);
// Why an item goes or stays, in the words a dry run and the preview show: "old enough",
// "too young", "hidden", ...
QByteArray ReasonWords(DecisionReason reason);

// What the engine decided for one item, once; a real run then deletes what goes and a dry
// run only reports it. Size, date and age are read for the items that got as far as their
// date (not for hidden ones); a folder's size is that of everything in it.
struct ItemDecision
{
    QByteArrayView path; // the file system's bytes; copy it to keep it
    PurgeItemKind kind = PurgeItemKind::File;
    DecisionReason reason = DecisionReason::OldEnough;
    qint64 size = 0;
    // False for a subfolder a real run removes whole: the sizes of what is in it are read only
    // in a dry run, as they would cost the removal a status read per file.
    bool sizeKnown = true;
    std::optional<qint64> date; // seconds since the epoch
    qint64 age = 0;             // whole units of the request's unit
    bool Removes() const { return reason == DecisionReason::OldEnough; }
};

// An item a run removed: its decision (with its path) and, for a trash run, where in the trash
// it went.
struct RemovedItem
{
    const ItemDecision& decision;
    QByteArrayView trashPath; // empty when deleted
};

// Runs one purge; returns the count deleted and how the run ended. stop is checked before
// each item, also each item inside a subfolder being removed (a subfolder left partly removed
// is not counted); onItem is heard just before each such check, on the purging thread.
// onDeleted hears each path deleted (or, in a dry run, that would be), as the file system's
// bytes (QFile::decodeName for display; copy it to keep it). onDecision hears each item
// decided, before it is deleted; onRemoved each item removed (or that would be), after its
// removal. A trash run moves each item that goes to the trash of its file system (a subfolder
// whole) and deletes nothing; an item that cannot be moved stays and is not counted; the home
// trash and what it holds stay, in its dry run too. A folder that cannot be opened, the
// file-system root or a negative threshold deletes nothing. Reads the local zone's rules once,
// at the start. Safe to run from several threads at once.
PurgeResult RunSchedule(const PurgeRequest& request, const Clock& clock, const std::atomic_bool& stop,
                        const std::function<void(const QByteArray& path)>& onDeleted = {},
                        const std::function<void()>& onItem = {},
                        const std::function<void(const ItemDecision&)>& onDecision = {},
                        const std::function<void(const RemovedItem&)>& onRemoved = {});
