// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/trashexpiry.h"

#include "config/jobtable.h"
#include "purge/fswalk.h"
#include "purge/runrecord.h"
#include "purge/trash.h"

#include <QFile>
#include <QFileInfo>

namespace {

static_assert(MaxTrashDays <= RunRecordDays, "the records must name an item until it expires");

// Deeper folders in the trash are left whole rather than risk the worker's stack.
constexpr int MaxDepth = 1024;

// An entry of a trash as a record names it: TRASH/files/NAME.
struct TrashEntry
{
    QByteArray trash;
    QByteArray name;
};

std::optional<TrashEntry> TrashEntryOf(const QByteArray& trashPath)
{
    const qsizetype slash = trashPath.lastIndexOf('/');
    const QByteArray name = trashPath.sliced(slash + 1);
    const QByteArray files = trashPath.left(slash);
    if (slash < 0 || name.isEmpty() || name == "." || name == ".." || !files.endsWith("/files"))
        return std::nullopt;
    return TrashEntry{files.chopped(6), name};
}

QByteArray Parent(const QByteArray& path)
{
    return path.left(std::max<qsizetype>(path.lastIndexOf('/'), 0));
}

QByteArray LastName(const QByteArray& path)
{
    return path.sliced(path.lastIndexOf('/') + 1);
}

// The top folder of the file system of a trash at its top ($top/.Trash-$uid or
// $top/.Trash/$uid), "" for the root; nothing for any other trash.
std::optional<QByteArray> TopOf(const QByteArray& trash)
{
    if (LastName(trash).startsWith(".Trash-"))
        return Parent(trash);
    if (LastName(Parent(trash)) == ".Trash")
        return Parent(Parent(trash));
    return std::nullopt;
}

// The recorded path as the kernel names it: the run wrote its .trashinfo by the folder it had
// open, which the job may name through a link.
QByteArray Resolved(const QByteArray& path)
{
    const QString folder = QFileInfo(QFile::decodeName(Parent(path))).canonicalFilePath();
    if (folder.isEmpty())
        return {};
    return (folder == u"/" ? QByteArray() : QFile::encodeName(folder)) + '/' + LastName(path);
}

// Whether the Path of a .trashinfo in trash names original: absolute for the home trash,
// relative to the top of the file system for a trash there.
bool NamesOriginal(const QByteArray& infoPath, const QByteArray& original, const QByteArray& trash)
{
    QByteArray named = infoPath;
    if (!infoPath.startsWith('/')) {
        const std::optional<QByteArray> top = TopOf(trash);
        if (!top)
            return false;
        named = *top + '/' + infoPath;
    }
    return named == original || named == Resolved(original);
}

// name of folder and, for a folder, everything in it; never through a link nor onto another
// file system. False when anything of it stays.
bool RemoveWhole(FsWalk::Folder& folder, const char* name, const std::atomic_bool& stop, int depth)
{
    FsWalk::Entry entry;
    entry.name = name;
    FsWalk::ItemStat stat;
    if (folder.Stat(entry, FsWalk::DateKind::Modified, stat) != FsWalk::StatOutcome::Read)
        return false;
    if (stat.kind != FsWalk::ItemKind::Folder)
        return folder.Delete(name);
    if (depth >= MaxDepth)
        return false;
    bool emptied = true;
    {
        FsWalk::Folder child = folder.OpenChild(name);
        if (!child.IsOpen())
            return false;
        FsWalk::Entry inner;
        while (emptied && !stop && child.Next(inner))
            emptied = RemoveWhole(child, inner.name, stop, depth + 1);
    }
    return emptied && !stop && folder.RemoveEmptyChild(name);
}

bool EmptyItem(const RecordedItem& item, const QDateTime& runStart, const QDateTime& limit,
               const std::atomic_bool& stop)
{
    const std::optional<TrashEntry> entry = TrashEntryOf(item.trashPath);
    if (!entry)
        return false;
    FsWalk::Folder infoFolder = FsWalk::Folder::Open(entry->trash + "/info");
    const QByteArray infoName = entry->name + ".trashinfo";
    const std::optional<QByteArray> text =
        infoFolder.IsOpen() ? infoFolder.ReadSmallFile(infoName.constData(), TrashInfoLimit) : std::nullopt;
    const std::optional<TrashInfo> info = text ? ParseTrashInfo(*text) : std::nullopt;
    if (!info || !NamesOriginal(info->path, item.path, entry->trash))
        return false;
    const QDateTime deleted = info->deletionDate.isValid() ? info->deletionDate : runStart;
    if (!deleted.isValid() || deleted >= limit)
        return false;
    FsWalk::Folder files = FsWalk::Folder::Open(entry->trash + "/files");
    return files.IsOpen() && RemoveWhole(files, entry->name.constData(), stop, 0) &&
           infoFolder.Delete(infoName.constData());
}

} // namespace

qint64 EmptyExpiredTrash(const QString& programFolder, const QDateTime& now, int days,
                         const std::atomic_bool& stop)
{
    if (days <= 0)
        return 0;
    const QDateTime limit = now.addDays(-days);
    qint64 emptied = 0;
    for (const RunRecord& summary : ReadRunRecords(programFolder)) {
        // Its items went to the trash after the run began: a run begun since the limit has
        // none old enough.
        if (summary.removal != Removal::MoveToTrash || (summary.start.isValid() && summary.start >= limit))
            continue;
        const std::optional<RunRecord> record = ReadRunRecord(summary.file);
        if (!record)
            continue;
        for (const RecordedItem& item : record->items) {
            if (stop)
                return emptied;
            if (EmptyItem(item, record->start, limit, stop))
                ++emptied;
        }
    }
    return emptied;
}
