// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/purgeengine.h"

#include "config/runtime.h"
#include "purge/fswalk.h"
#include "purge/trash.h"
#include "shared/bytetext.h"
#include "shared/localzone.h"
#include "shared/programfolder.h"
#include "shared/windowstate.h"

#include <QElapsedTimer>
#include <QtNumeric>
#include <algorithm>
#include <limits>
#include <vector>

using FsWalk::Entry;
using FsWalk::Folder;
using FsWalk::ItemKind;
using FsWalk::ItemStat;
using FsWalk::ObjectId;
using FsWalk::StatOutcome;

namespace {

FsWalk::DateKind WalkDateKind(DateKind kind)
{
    switch (kind) {
    case DateKind::Created:
        return FsWalk::DateKind::Created;
    case DateKind::LastModified:
        return FsWalk::DateKind::Modified;
    case DateKind::LastAccessed:
        return FsWalk::DateKind::Accessed;
    }
    return FsWalk::DateKind::Modified;
}

// Whole units of unit from one minute to another, both local wall-clock times cut to the
// minute. The span saturates, so that a date at the end of the range is still as old (or as
// far ahead) as can be.
qint64 Age(qint64 fromMinute, qint64 toMinute, TimeUnit unit)
{
    qint64 seconds = 0;
    if (qSubOverflow(toMinute, fromMinute, &seconds))
        seconds =
            fromMinute > toMinute ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
    qint64 days = 0;
    qint64 hours = 0;
    qint64 minutes = 0;
    GetValue(seconds, days, hours, minutes);
    switch (unit) {
    case TimeUnit::Minute:
        return days * 1440 + hours * 60 + minutes;
    case TimeUnit::Hour:
        return days * 24 + hours;
    case TimeUnit::Day:
        return days;
    case TimeUnit::Month:
        return days / 30;
    }
    return 0;
}

// The wall-clock time of t in its own zone cut to the minute, in seconds of a clock without
// summer time: an age is the difference of two wall-clock times, so across a change of summer
// time a day is still a day and an hour is not one more or less.
qint64 WallClockMinute(const QDateTime& t)
{
    const QDateTime cut = CutToMinute(t);
    return QDateTime(cut.date(), cut.time(), Qt::UTC).toSecsSinceEpoch();
}

// The folders a walk keeps open at most; deeper down it closes the ones above and reopens
// them on the way back up, so that a tree of any depth is walked within a few descriptors.
constexpr int WalkFolderBudget = 32;

bool IsHidden(const char* name)
{
    return name[0] == '.';
}

bool MayBeFolder(ItemKind kind)
{
    return kind == ItemKind::Folder || kind == ItemKind::Unknown;
}

PurgeItemKind KindOf(ItemKind kind)
{
    switch (kind) {
    case ItemKind::File:
        return PurgeItemKind::File;
    case ItemKind::Link:
        return PurgeItemKind::Link;
    case ItemKind::Folder:
        return PurgeItemKind::Folder;
    case ItemKind::Unknown:
    case ItemKind::Other:
        break;
    }
    return PurgeItemKind::Other;
}

ItemDecision Kept(ItemKind kind, DecisionReason reason)
{
    ItemDecision decision;
    decision.kind = KindOf(kind);
    decision.reason = reason;
    return decision;
}

DecisionReason ReasonOf(StatOutcome outcome)
{
    return outcome == StatOutcome::OtherFileSystem ? DecisionReason::OtherFileSystem
                                                   : DecisionReason::Unreadable;
}

// One run: its settings, totals and the path of the folder under way (for the sinks only).
class PurgeWalk
{
public:
    PurgeWalk(const PurgeRequest& request, const Clock& clock, const std::atomic_bool& stop,
              const std::function<void(const QByteArray&)>& onDeleted, const std::function<void()>& onItem,
              const std::function<void(const ItemDecision&)>& onDecision,
              const std::function<void(const RemovedItem&)>& onRemoved)
        : m_dateKind(WalkDateKind(request.lookByDate)), m_unit(request.purgeValOf),
          m_threshold(request.purgeVal), m_start(clock.Now().toSecsSinceEpoch()),
          m_nowMinute(LocalMinute(m_start)), m_dryRun(request.dryRun), m_stop(stop), m_onDeleted(onDeleted),
          m_onItem(onItem), m_onDecision(onDecision), m_onRemoved(onRemoved)
    {
        m_sinceStart.start();
        for (const QString& path : request.protectedPaths)
            Protect(BytesFromText(path));
        if (request.removal != Removal::MoveToTrash)
            return;
        // What the home trash holds never goes again: a job on a folder above it would move
        // its items round in it.
        const QByteArray homeTrash = HomeTrashFolder();
        Protect(homeTrash);
        if (!m_dryRun)
            m_trash.emplace(homeTrash);
    }

    // The totals, or nothing when the folder is not opened.
    std::optional<PurgeResult> Run(PurgeStyle style, const QByteArray& folderPath)
    {
        Folder folder = Folder::Open(folderPath);
        const FsWalk::PathIds root = FsWalk::IdsOfPath("/");
        if (!folder.IsOpen() || folder.Id() == root.own)
            return std::nullopt;
        m_path = folderPath;
        while (m_path.size() > 1 && m_path.endsWith('/'))
            m_path.chop(1);
        m_open.push_back(&folder);
        m_held = 1;
        switch (style) {
        case PurgeStyle::FilesOnly:
            PurgeFiles(folder);
            break;
        case PurgeStyle::IncludeFilesInSubfolders:
            PurgeFilesBelow(folder);
            break;
        case PurgeStyle::SubfoldersOnly:
            PurgeSubfolders(folder);
            break;
        }
        return m_result;
    }

private:
    void Protect(const QByteArray& path)
    {
        const FsWalk::PathIds ids = FsWalk::IdsOfPath(path);
        for (const auto& id : {ids.own, ids.target}) {
            if (id)
                m_protected.push_back(*id);
        }
    }

    // A subfolder of the innermost open folder, open while this lives. Within the walk's
    // budget: the folders above its parent are closed when the budget is spent, and the
    // parent is reopened, when it was closed, as this one closes.
    class Level
    {
    public:
        Level(PurgeWalk& walk, const char* name) : m_walk(walk)
        {
            Folder& parent = *walk.m_open.back();
            if (walk.m_held >= WalkFolderBudget || FsWalk::FolderBudgetSpent())
                walk.SuspendAbove(parent);
            folder = parent.OpenChild(name);
            if (folder.IsOpen()) {
                walk.m_open.push_back(&folder);
                ++walk.m_held;
            }
        }
        ~Level()
        {
            if (!folder.IsOpen())
                return;
            m_walk.m_open.pop_back();
            Folder& parent = *m_walk.m_open.back();
            if (parent.IsSuspended() && parent.Resume(folder))
                ++m_walk.m_held;
            folder = {};
            --m_walk.m_held;
        }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;

        Folder folder;

    private:
        PurgeWalk& m_walk;
    };

    void SuspendAbove(const Folder& parent)
    {
        for (Folder* open : m_open) {
            if (open != &parent && !open->IsSuspended() && open->Suspend())
                --m_held;
        }
    }

    // Asked before each item, also inside a subfolder being removed.
    bool Stopped() const
    {
        if (m_onItem)
            m_onItem();
        return m_stop.load(std::memory_order_relaxed);
    }

    bool IsProtected(const ObjectId& id) const
    {
        return std::find(m_protected.begin(), m_protected.end(), id) != m_protected.end();
    }

    // The decision for an item whose status was read: its age against the threshold, unless
    // it is no file, folder or link or is protected.
    ItemDecision Decide(const ItemStat& stat) const
    {
        ItemDecision decision;
        decision.kind = KindOf(stat.kind);
        // A folder's size is that of its content, read only when it goes.
        decision.size = stat.kind == ItemKind::Folder ? 0 : stat.size;
        decision.date = stat.date;
        decision.age = Age(LocalMinute(stat.date), m_nowMinute, m_unit);
        if (stat.kind == ItemKind::Other)
            decision.reason = DecisionReason::NotRegular;
        else if (IsProtected(stat.id))
            decision.reason = DecisionReason::Protected;
        else if (decision.age <= m_threshold)
            decision.reason = DecisionReason::TooYoung;
        return decision;
    }

    // Hands the path of name, in the folder under way, to sink.
    template <typename Sink> void AtPath(const char* name, const Sink& sink)
    {
        const qsizetype folderSize = m_path.size();
        m_path.append('/').append(name);
        sink(m_path);
        m_path.truncate(folderSize);
    }

    void Tell(const char* name, ItemDecision decision)
    {
        if (!m_onDecision)
            return;
        AtPath(name, [&](const QByteArray& path) {
            decision.path = path;
            m_onDecision(decision);
        });
    }

    // Moves name of folder to the trash; false when it stays.
    bool Trash(Folder& folder, const char* name)
    {
        // The run's start plus the time since, in the zone's rules read once: the clock's local
        // time would look at the zone file again for every item.
        const QDateTime now = LocalWallTime(m_start + m_sinceStart.elapsed() / 1000);
        std::optional<QByteArray> trashPath = folder.MoveToTrash(name, *m_trash, now);
        m_trashPath = trashPath.value_or(QByteArray());
        return trashPath.has_value();
    }

    // A file or link that goes: deleted, or moved to the trash; true when it went.
    bool RemoveFile(Folder& folder, const char* name)
    {
        return m_dryRun || (m_trash ? Trash(folder, name) : folder.Delete(name));
    }

    void Deleted(const char* name, ItemDecision decision)
    {
        ++m_result.count;
        ++(decision.kind == PurgeItemKind::Folder ? m_result.folders : m_result.files);
        m_result.bytes += decision.size;
        m_result.sizesKnown = m_result.sizesKnown && decision.sizeKnown;
        if (m_onDeleted)
            AtPath(name, m_onDeleted);
        if (m_onRemoved)
            AtPath(name, [&](const QByteArray& path) {
                decision.path = path;
                m_onRemoved(RemovedItem{decision, m_trashPath});
            });
    }

    // The files (and links) directly in folder. Returns whether it met an entry that may be a
    // subfolder, so that a folder without any is not read twice.
    bool PurgeFiles(Folder& folder)
    {
        bool mayHaveSubfolders = false;
        Entry entry;
        ItemStat stat;
        while (folder.Next(entry)) {
            if (Stopped())
                return false;
            if (IsHidden(entry.name) || entry.kind == ItemKind::Other) {
                if (entry.kind != ItemKind::Folder)
                    Tell(entry.name, Kept(entry.kind, IsHidden(entry.name) ? DecisionReason::Hidden
                                                                           : DecisionReason::NotRegular));
                continue;
            }
            if (MayBeFolder(entry.kind))
                mayHaveSubfolders = true;
            if (entry.kind == ItemKind::Folder)
                continue;
            const StatOutcome read = folder.Stat(entry, m_dateKind, stat);
            if (read != StatOutcome::Read) {
                Tell(entry.name, Kept(entry.kind, ReasonOf(read)));
                continue;
            }
            if (stat.kind == ItemKind::Folder)
                continue;
            const ItemDecision decision = Decide(stat);
            Tell(entry.name, decision);
            if (decision.Removes() && RemoveFile(folder, entry.name))
                Deleted(entry.name, decision);
        }
        return mayHaveSubfolders;
    }

    // The files of every subfolder of folder, at every depth: each subfolder's own files
    // before the subfolders below it.
    void PurgeFilesBelow(Folder& folder)
    {
        Entry entry;
        while (folder.Next(entry)) {
            if (Stopped())
                return;
            if (!MayBeFolder(entry.kind))
                continue;
            if (IsHidden(entry.name)) {
                TellFolder(entry, DecisionReason::Hidden);
                continue;
            }
            Level level(*this, entry.name);
            Folder& child = level.folder;
            if (!child.IsOpen() || IsProtected(child.Id())) {
                TellFolder(entry, child.IsOpen() ? DecisionReason::Protected : DecisionReason::Unreadable);
                continue;
            }
            const qsizetype pathSize = m_path.size();
            m_path.append('/').append(entry.name);
            if (PurgeFiles(child)) {
                child.Rewind();
                PurgeFilesBelow(child);
            }
            m_path.truncate(pathSize);
        }
    }

    // A folder kept whole, told only when the listing says it is one (an entry of unknown kind
    // may be a file, which is no item of these styles).
    void TellFolder(const Entry& entry, DecisionReason reason)
    {
        if (entry.kind == ItemKind::Folder)
            Tell(entry.name, Kept(ItemKind::Folder, reason));
    }

    // Each direct subfolder old enough, removed whole whatever the ages of its content. It is
    // read through first, and removed only when everything in it can go: one that must stay
    // is left exactly as it was.
    void PurgeSubfolders(Folder& folder)
    {
        Entry entry;
        ItemStat stat;
        while (folder.Next(entry)) {
            if (Stopped())
                return;
            if (!MayBeFolder(entry.kind))
                continue;
            if (IsHidden(entry.name)) {
                TellFolder(entry, DecisionReason::Hidden);
                continue;
            }
            const StatOutcome read = folder.Stat(entry, m_dateKind, stat);
            if (read != StatOutcome::Read) {
                TellFolder(entry, ReasonOf(read));
                continue;
            }
            if (stat.kind != ItemKind::Folder)
                continue;
            ItemDecision decision = Decide(stat);
            if (decision.Removes()) {
                m_contentBytes = 0;
                if (!WalkSubfolder(entry.name, stat.id, Pass::Decide)) {
                    // A stop is no decision: the subfolder was not read through.
                    if (m_stop.load(std::memory_order_relaxed))
                        return;
                    decision.reason = DecisionReason::HoldsKept;
                } else if (m_dryRun) {
                    decision.size = m_contentBytes;
                } else {
                    decision.sizeKnown = false;
                }
            }
            Tell(entry.name, decision);
            // A trash run moves the subfolder whole, in one rename.
            if (decision.Removes() &&
                (m_dryRun ||
                 (m_trash ? Trash(folder, entry.name) : WalkSubfolder(entry.name, stat.id, Pass::Remove))))
                Deleted(entry.name, decision);
        }
    }

    enum class Pass
    {
        Decide, // whether everything in the subfolder can go; nothing is changed
        Remove  // its content and then the subfolder
    };

    // One pass over the subfolder name of the innermost open folder, which must still be the
    // object expected (not swapped since it was examined). Hidden, protected and special
    // entries, other mounts and folders that cannot be read stay, and so do the folders that
    // hold them. Returns whether the subfolder can go (Decide) or went (Remove); a stop
    // returns false at once.
    bool WalkSubfolder(const char* name, const ObjectId& expected, Pass pass)
    {
        {
            Level level(*this, name);
            Folder& folder = level.folder;
            if (!folder.IsOpen() || folder.Id() != expected || IsProtected(expected))
                return false;
            Entry entry;
            ItemStat stat;
            while (folder.Next(entry)) {
                if (Stopped())
                    return false;
                // A dry run's deciding pass also sizes the files, for the size it shows. A real
                // run does not: a status read for every file would more than double the time
                // a large folder takes to go on disk, for a figure no removal needs.
                const bool sized = m_dryRun && pass == Pass::Decide &&
                                   (entry.kind == ItemKind::File || entry.kind == ItemKind::Link);
                if ((entry.kind == ItemKind::Unknown || sized) &&
                    folder.Stat(entry, m_dateKind, stat) == StatOutcome::Read) {
                    entry.kind = stat.kind;
                    entry.id = stat.id;
                    if (pass == Pass::Decide && stat.kind != ItemKind::Folder)
                        m_contentBytes += stat.size;
                }
                const bool mayGo = !IsHidden(entry.name) && entry.kind != ItemKind::Unknown &&
                                   entry.kind != ItemKind::Other && !IsProtected(entry.id);
                if (pass == Pass::Decide && !mayGo)
                    return false;
                if (!mayGo)
                    continue;
                if (entry.kind == ItemKind::Folder) {
                    if (!WalkSubfolder(entry.name, entry.id, pass) && pass == Pass::Decide)
                        return false;
                } else if (pass == Pass::Remove) {
                    folder.Delete(entry.name);
                }
            }
        }
        // A removal is tried even after a failure: a concurrent run may have taken what this
        // one could not.
        return pass == Pass::Decide || m_open.back()->RemoveEmptyChild(name);
    }

    const FsWalk::DateKind m_dateKind;
    const TimeUnit m_unit;
    const qint64 m_threshold;
    const qint64 m_start; // seconds since the epoch
    const qint64 m_nowMinute;
    const bool m_dryRun;
    QElapsedTimer m_sinceStart;
    const std::atomic_bool& m_stop;
    const std::function<void(const QByteArray&)>& m_onDeleted;
    const std::function<void()>& m_onItem;
    const std::function<void(const ItemDecision&)>& m_onDecision;
    const std::function<void(const RemovedItem&)>& m_onRemoved;
    // Set for a trash run; the trash path of the item moved last.
    std::optional<FsWalk::TrashCan> m_trash;
    QByteArray m_trashPath;
    std::vector<ObjectId> m_protected;
    QByteArray m_path;
    PurgeResult m_result;
    // The bytes of the files in the subfolder being decided.
    qint64 m_contentBytes = 0;
    // The folders from the job folder down to the one under way; those above the budget's
    // reach are suspended.
    std::vector<Folder*> m_open;
    int m_held = 0;
};

} // namespace

std::optional<PurgeRequest> PurgeRequestOf(PurgeStyle style, const QString& folder, const QString& valPurge,
                                           const QString& valOfPurge, const QString& lookPurgeBy)
{
    const std::optional<qint64> threshold = PurgeThreshold(valPurge);
    const std::optional<TimeUnit> unit = ParseWord<TimeUnit>(valOfPurge);
    const std::optional<DateKind> dateKind = ParseWord<DateKind>(lookPurgeBy);
    if (!threshold || !unit || !dateKind)
        return std::nullopt;
    PurgeRequest request;
    request.style = style;
    request.folder = folder;
    request.lookByDate = *dateKind;
    request.purgeVal = *threshold;
    request.purgeValOf = *unit;
    return request;
}

QStringList ProtectedPaths(const QString& programFolder, const QString& executableFolder)
{
    QStringList paths{programFolder, ConfigDatPath(programFolder), QuillonIniPath(programFolder),
                      StatDumpPath(programFolder), LogsFolder(programFolder)};
    for (const char* file : {ScourwellWindowsFile, QuillonWindowsFile})
        paths.append(programFolder + u'/' + QLatin1StringView(file));
    for (const QString& folder : {programFolder, executableFolder}) {
        for (const char* file : ShippedBesideProgram)
            paths.append(folder + u'/' + QLatin1StringView(file));
    }
    return paths;
}

bool IsFileSystemRoot(const QString& folder)
{
    const FsWalk::PathIds ids = FsWalk::IdsOfPath(BytesFromText(folder));
    const auto resolved = ids.target ? ids.target : ids.own;
    return resolved && resolved == FsWalk::IdsOfPath("/").own;
}

std::optional<qint64> PurgeThreshold(const QString& valPurge)
{
    const QString text = valPurge.trimmed();
    const bool digitsOnly = !text.isEmpty() && std::all_of(text.begin(), text.end(),
                                                           [](QChar c) { return c >= u'0' && c <= u'9'; });
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return digitsOnly && ok ? std::optional(value) : std::nullopt;
}

void GetValue(qint64 dhn, qint64& dayIs, qint64& hourIs, qint64& minIs)
{
    dayIs = dhn / 86400;
    hourIs = dhn % 86400 / 3600;
    minIs = dhn % 3600 / 60;
}

qint64 GetObjectAge(const QDateTime& itemDate, TimeUnit unit, const QDateTime& now)
{
    if (!itemDate.isValid() || !now.isValid())
        return 0;
    return Age(WallClockMinute(itemDate), WallClockMinute(now), unit);
}

PurgeResult RunSchedule(const PurgeRequest& request, const Clock& clock, const std::atomic_bool& stop,
                        const std::function<void(const QByteArray&)>& onDeleted,
                        const std::function<void()>& onItem,
                        const std::function<void(const ItemDecision&)>& onDecision,
                        const std::function<void(const RemovedItem&)>& onRemoved)
{
    // The folder text stands for the bytes of its name, which need not be UTF-8; a NUL would
    // cut the name short, and so name another folder. A negative threshold would take all.
    const QByteArray folder = BytesFromText(request.folder);
    if (request.purgeVal < 0 || folder.contains('\0'))
        return {};
    // The zone's rules are read once a run, so that no item waits for the zone file.
    LoadLocalZone();
    PurgeWalk walk(request, clock, stop, onDeleted, onItem, onDecision, onRemoved);
    std::optional<PurgeResult> result = walk.Run(request.style, folder);
    if (!result)
        return {};
    result->outcome = stop.load() ? PurgeOutcome::Stopped : PurgeOutcome::Complete;
    return *result;
}

QByteArray ReasonWords(DecisionReason reason)
{
    switch (reason) {
    case DecisionReason::OldEnough:
        return "old enough";
    case DecisionReason::TooYoung:
        return "too young";
    case DecisionReason::Hidden:
        return "hidden";
    case DecisionReason::Protected:
        return "a program file";
    case DecisionReason::OtherFileSystem:
        return "on another file system";
    case DecisionReason::NotRegular:
        return "no file, folder or link";
    case DecisionReason::Unreadable:
        return "cannot be read";
    case DecisionReason::HoldsKept:
        break;
    }
    return "holds something that stays";
}

QByteArray KindWord(PurgeItemKind kind)
{
    switch (kind) {
    case PurgeItemKind::File:
        return "file";
    case PurgeItemKind::Folder:
        return "folder";
    case PurgeItemKind::Link:
        return "link";
    case PurgeItemKind::Other:
        break;
    }
    return "other";
}
