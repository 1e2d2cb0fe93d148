// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/trashrestore.h"

#include "purge/fswalk.h"
#include "purge/trash.h"
#include "shared/bytetext.h"

#include <QByteArrayList>
#include <map>

namespace {

using FsWalk::Folder;

const QByteArray FilesPart = "/files/";

bool PlainName(QByteArrayView name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/');
}

// The trash folder and the name an item has there, from the path the record gives.
struct TrashPlace
{
    QByteArray folder;
    QByteArray name;
};

std::optional<TrashPlace> PlaceInTrash(const QByteArray& trashPath)
{
    const qsizetype at = trashPath.lastIndexOf(FilesPart);
    if (at <= 0 || !trashPath.startsWith('/'))
        return std::nullopt;
    TrashPlace place{trashPath.left(at), trashPath.mid(at + FilesPart.size())};
    if (!PlainName(place.name))
        return std::nullopt;
    return place;
}

// What a relative Path in a .trashinfo of this trash starts from: the top of its file system,
// above $top/.Trash-$uid or $top/.Trash/$uid.
QByteArray TopOf(const QByteArray& trashFolder)
{
    QByteArray top = trashFolder.left(trashFolder.lastIndexOf('/'));
    if (!trashFolder.sliced(top.size() + 1).startsWith(".Trash-"))
        top.truncate(top.lastIndexOf('/'));
    return top;
}

QByteArray Joined(const QByteArray& folder, const QByteArray& name)
{
    return (folder == "/" ? QByteArray() : folder) + '/' + name;
}

class Restorer
{
public:
    explicit Restorer(const RunRecord& record) : m_folder(BytesFromText(record.folder))
    {
        while (m_folder.size() > 1 && m_folder.endsWith('/'))
            m_folder.chop(1);
    }

    RestoreOutcome Restore(const RecordedItem& item)
    {
        const std::optional<TrashPlace> place = PlaceInTrash(item.trashPath);
        if (!place)
            return RestoreOutcome::GoneFromTrash;
        Bin& bin = BinAt(place->folder);
        const QByteArray infoName = place->name + ".trashinfo";
        const std::optional<QByteArray> infoText =
            bin.info.IsOpen() ? bin.info.ReadSmallFile(infoName.constData(), TrashInfoLimit) : std::nullopt;
        const std::optional<TrashInfo> info = infoText ? ParseTrashInfo(*infoText) : std::nullopt;
        if (!info || !bin.files.IsOpen())
            return RestoreOutcome::GoneFromTrash;

        const QByteArray prefix = Joined(m_folder, {});
        if (!item.path.startsWith(prefix))
            return RestoreOutcome::Failed;
        const QByteArray relative = item.path.sliced(prefix.size());
        const qsizetype slash = relative.lastIndexOf('/');
        const QByteArray name = relative.sliced(slash + 1);
        Folder* parent =
            PlainName(name) ? ParentAt(slash < 0 ? QByteArray() : relative.left(slash)) : nullptr;
        if (parent == nullptr)
            return RestoreOutcome::ParentMissing;

        // The entry must be this item's: the same name in the trash may have been taken by
        // another item since this one was put back by other means.
        const QByteArray original =
            info->path.startsWith('/') ? info->path : Joined(TopOf(place->folder), info->path);
        if (original != Joined(parent->Path(), name))
            return RestoreOutcome::GoneFromTrash;

        switch (bin.files.MoveTo(place->name.constData(), *parent, name.constData())) {
        case Folder::MoveOutcome::Moved:
            bin.info.Delete(infoName.constData());
            return RestoreOutcome::Restored;
        case Folder::MoveOutcome::Taken:
            return RestoreOutcome::PlaceTaken;
        case Folder::MoveOutcome::Missing:
            return RestoreOutcome::GoneFromTrash;
        case Folder::MoveOutcome::Failed:
            break;
        }
        return RestoreOutcome::Failed;
    }

private:
    struct Bin
    {
        Folder files;
        Folder info;
    };

    // The trash at folder with its parts held open, opened at its first item.
    Bin& BinAt(const QByteArray& folder)
    {
        const auto known = m_bins.find(folder);
        if (known != m_bins.end())
            return known->second;
        Bin& bin = m_bins[folder];
        const Folder trash = Folder::Open(folder);
        if (trash.IsOpen()) {
            bin.files = trash.OpenChild("files");
            bin.info = trash.OpenChild("info");
        }
        return bin;
    }

    // The folder at relative below the job folder, each step taken from the one before without
    // following a link; nullptr when it is not there. The last one is kept for the next item,
    // which is often in the same folder.
    Folder* ParentAt(const QByteArray& relative)
    {
        if (!m_job)
            m_job = Folder::Open(m_folder);
        if (!m_job->IsOpen())
            return nullptr;
        if (relative.isEmpty())
            return &*m_job;
        if (m_parent.IsOpen() && m_parentRelative == relative)
            return &m_parent;
        m_parent = Folder();
        Folder current;
        for (const QByteArray& name : relative.split('/')) {
            if (!PlainName(name))
                return nullptr;
            current = (current.IsOpen() ? current : *m_job).OpenChild(name.constData());
            if (!current.IsOpen())
                return nullptr;
        }
        m_parent = std::move(current);
        m_parentRelative = relative;
        return &m_parent;
    }

    QByteArray m_folder;
    std::map<QByteArray, Bin> m_bins;
    std::optional<Folder> m_job;
    Folder m_parent;
    QByteArray m_parentRelative;
};

} // namespace

RestoreResult RestoreFromTrash(const RunRecord& record, const std::atomic_bool& stop,
                               const RestoreProgress& progress)
{
    RestoreResult result;
    std::vector<const RecordedItem*> order;
    for (auto item = record.items.crbegin(); item != record.items.crend(); ++item) {
        order.push_back(&*item);
        result.items.push_back({item->path, item->trashPath, RestoreOutcome::NotReached});
    }
    const auto total = qint64(order.size());
    if (progress)
        progress(0, total);
    Restorer restorer(record);
    for (qint64 done = 0; done < total; ++done) {
        if (stop) {
            result.stopped = true;
            break;
        }
        RestoreOutcome& outcome = result.items[size_t(done)].outcome;
        outcome = restorer.Restore(*order[size_t(done)]);
        if (outcome == RestoreOutcome::Restored)
            ++result.restored;
        if (progress)
            progress(done + 1, total);
    }
    return result;
}
