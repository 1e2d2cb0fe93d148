#include "purge/fswalk.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace FsWalk {

namespace {

constexpr int OpenFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY;

ObjectId IdOf(const struct statx& stx)
{
    return {makedev(stx.stx_dev_major, stx.stx_dev_minor), stx.stx_ino};
}

ItemKind KindOfMode(mode_t mode)
{
    switch (mode & S_IFMT) {
    case S_IFREG:
        return ItemKind::File;
    case S_IFLNK:
        return ItemKind::Link;
    case S_IFDIR:
        return ItemKind::Folder;
    default:
        return ItemKind::Other;
    }
}

ItemKind KindOfDirentType(unsigned char type)
{
    switch (type) {
    case DT_REG:
        return ItemKind::File;
    case DT_LNK:
        return ItemKind::Link;
    case DT_DIR:
        return ItemKind::Folder;
    case DT_UNKNOWN:
        return ItemKind::Unknown;
    default:
        return ItemKind::Other;
    }
}

std::optional<ObjectId> IdOfPath(const QByteArray& path, int flags)
{
    struct statx stx;
    if (statx(AT_FDCWD, path.constData(), flags | AT_NO_AUTOMOUNT, STATX_INO, &stx) != 0)
        return std::nullopt;
    return IdOf(stx);
}

} // namespace

PathIds IdsOfPath(const QByteArray& path)
{
    PathIds ids{IdOfPath(path, AT_SYMLINK_NOFOLLOW), IdOfPath(path, 0)};
    if (ids.target == ids.own)
        ids.target.reset();
    return ids;
}

struct Folder::State
{
    int fd = -1;
    ObjectId id;
    // The mount tells a bind mount of the same file system apart, which the device does not.
    std::optional<quint64> mountId;
    std::optional<mode_t> modeToRestore;
    // The folder is read a part at a time into listing, whose entries are then taken in the
    // order of their inode numbers: on a disk file system, stat and unlink in that order
    // touch the inode table in sequence, which for a large folder is much faster than the
    // order of the names' hashes. Memory stays one buffer per open folder.
    static constexpr int ListingSize = 32768;
    int count = 0;
    int position = 0;
    alignas(dirent64) char listing[ListingSize];
    static constexpr int ShortestItem = (offsetof(dirent64, d_name) + 2 + 7) / 8 * 8;
    unsigned order[ListingSize / ShortestItem];

    ~State()
    {
        if (modeToRestore)
            fchmod(fd, *modeToRestore);
        close(fd);
    }

    // Takes fd over; nullptr (fd closed) when it is no folder.
    static std::unique_ptr<State> Adopt(int fd)
    {
        struct statx stx;
        if (statx(fd, "", AT_EMPTY_PATH, STATX_TYPE | STATX_INO | STATX_MNT_ID, &stx) != 0 ||
            !S_ISDIR(stx.stx_mode)) {
            close(fd);
            return nullptr;
        }
        // Not make_unique: the listing buffer needs no zeroing.
        std::unique_ptr<State> state(new State);
        state->fd = fd;
        state->id = IdOf(stx);
        if (stx.stx_mask & STATX_MNT_ID)
            state->mountId = stx.stx_mnt_id;
        return state;
    }

    const dirent64* NextItem()
    {
        if (position >= count) {
            const ssize_t size = getdents64(fd, listing, sizeof listing);
            if (size <= 0)
                return nullptr;
            position = 0;
            count = 0;
            for (ssize_t at = 0; at < size; at += ItemAt(unsigned(at))->d_reclen)
                order[count++] = unsigned(at);
            std::sort(order, order + count,
                      [this](unsigned a, unsigned b) { return ItemAt(a)->d_ino < ItemAt(b)->d_ino; });
        }
        return ItemAt(order[position++]);
    }

    const dirent64* ItemAt(unsigned offset) const
    {
        return reinterpret_cast<const dirent64*>(listing + offset);
    }

    // Forced deletion: owner rights on this folder, given back when it is closed.
    bool MakeWritable()
    {
        struct stat st;
        if (modeToRestore || fstat(fd, &st) != 0 || (st.st_mode & S_IRWXU) == S_IRWXU)
            return false;
        const mode_t mode = st.st_mode & 07777;
        if (fchmod(fd, mode | S_IRWXU) != 0)
            return false;
        modeToRestore = mode;
        return true;
    }
};

Folder::Folder() = default;
Folder::Folder(std::unique_ptr<State> state) : m_state(std::move(state)) {}
Folder::Folder(Folder&&) noexcept = default;
Folder& Folder::operator=(Folder&&) noexcept = default;
Folder::~Folder() = default;

Folder Folder::Open(const QByteArray& path)
{
    const int fd = open(path.constData(), OpenFolderFlags);
    return Folder(fd < 0 ? nullptr : State::Adopt(fd));
}

Folder Folder::OpenChild(const char* name) const
{
    const int fd = openat(m_state->fd, name, OpenFolderFlags | O_NOFOLLOW);
    if (fd < 0)
        return {};
    auto child = State::Adopt(fd);
    if (child == nullptr || child->id.device != m_state->id.device || child->mountId != m_state->mountId)
        return {};
    return Folder(std::move(child));
}

ObjectId Folder::Id() const
{
    return m_state->id;
}

bool Folder::Next(Entry& entry)
{
    while (const dirent64* item = m_state->NextItem()) {
        const char* name = item->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        entry.name = name;
        entry.kind = KindOfDirentType(item->d_type);
        entry.id = {m_state->id.device, item->d_ino};
        return true;
    }
    return false;
}

void Folder::Rewind()
{
    lseek(m_state->fd, 0, SEEK_SET);
    m_state->count = m_state->position = 0;
}

bool Folder::Stat(const char* name, DateKind dateKind, ItemStat& stat) const
{
    if (dateKind == DateKind::Created) {
        struct statx stx;
        if (statx(m_state->fd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                  STATX_TYPE | STATX_INO | STATX_BTIME | STATX_CTIME, &stx) != 0)
            return false;
        stat.kind = KindOfMode(stx.stx_mode);
        stat.id = IdOf(stx);
        // Where the file system keeps no birth time, the status change is the nearest.
        stat.date = (stx.stx_mask & STATX_BTIME) ? stx.stx_btime.tv_sec : stx.stx_ctime.tv_sec;
        return true;
    }
    // The other dates need no statx, and the older call costs a little less per item.
    struct stat st;
    if (fstatat(m_state->fd, name, &st, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT) != 0)
        return false;
    stat.kind = KindOfMode(st.st_mode);
    stat.id = {st.st_dev, st.st_ino};
    stat.date = dateKind == DateKind::Modified ? st.st_mtim.tv_sec : st.st_atim.tv_sec;
    return true;
}

bool Folder::Unlink(const char* name, bool folder)
{
    const int flags = folder ? AT_REMOVEDIR : 0;
    if (unlinkat(m_state->fd, name, flags) == 0)
        return true;
    return errno == EACCES && m_state->MakeWritable() && unlinkat(m_state->fd, name, flags) == 0;
}

bool Folder::Delete(const char* name)
{
    return Unlink(name, false);
}

bool Folder::RemoveEmptyChild(const char* name)
{
    return Unlink(name, true);
}

} // namespace FsWalk
