// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/fswalk.h"
#include "purge/trash.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace FsWalk {

namespace {

constexpr int OpenFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW;
constexpr int PathFlags = O_PATH | O_NOFOLLOW | O_CLOEXEC;
// Descriptors kept out of the walks' budget, for logs, the status file, windows and libraries.
constexpr rlim_t ReservedDescriptors = 64;
// As many as the kernel follows in one path.
constexpr int MaxLinks = 40;

class UniqueFd
{
public:
    explicit UniqueFd(int fd = -1) : m_fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~UniqueFd()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    int Get() const { return m_fd; }

private:
    int m_fd;
};

std::atomic<int> g_openFolders = 0;
// Until a call shows that the kernel lacks openat2, which then is never tried again.
std::atomic_bool g_haveOpenAt2 = true;

int FolderBudget()
{
    static const int budget = [] {
        rlimit limit{};
        if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
            return 0;
        const rlim_t usable = limit.rlim_cur > ReservedDescriptors ? limit.rlim_cur - ReservedDescriptors : 0;
        return int(std::min<rlim_t>(usable, 1 << 20));
    }();
    return budget;
}

bool TakeFolderSlot()
{
    int open = g_openFolders.load(std::memory_order_relaxed);
    do {
        if (open >= FolderBudget())
            return false;
    } while (!g_openFolders.compare_exchange_weak(open, open + 1, std::memory_order_relaxed));
    return true;
}

void GiveFolderSlot()
{
    g_openFolders.fetch_sub(1, std::memory_order_relaxed);
}

// openat2 confined to the file system of dirFd, through no link: -1 with EXDEV at a mount
// point, and with ENOSYS where the kernel lacks the call.
int OpenBeneath(int dirFd, const char* name, int flags)
{
    if (!g_haveOpenAt2.load(std::memory_order_relaxed)) {
        errno = ENOSYS;
        return -1;
    }
    open_how how{};
    how.flags = quint64(flags);
    how.resolve = RESOLVE_NO_XDEV | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    const int fd = int(syscall(SYS_openat2, dirFd, name, &how, sizeof how));
    if (fd < 0 && errno == ENOSYS)
        g_haveOpenAt2 = false;
    return fd;
}

// A folder for listing, without access-date updates where this user may ask for that.
int OpenForListing(int dirFd, const char* name, bool sameFileSystem)
{
    for (const int flags : {OpenFolderFlags | O_NOATIME, OpenFolderFlags}) {
        int fd = sameFileSystem ? OpenBeneath(dirFd, name, flags) : -1;
        if (!sameFileSystem || (fd < 0 && errno == ENOSYS))
            fd = openat(dirFd, name, flags);
        if (fd >= 0 || errno != EPERM)
            return fd;
    }
    return -1;
}

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

void RaiseDescriptorLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

bool FolderBudgetSpent()
{
    return g_openFolders.load(std::memory_order_relaxed) >= FolderBudget();
}

struct Folder::State
{
    int fd = -1;
    ObjectId id;
    // The mount tells a bind mount of the same file system apart, which the device does not.
    std::optional<quint64> mountId;
    std::optional<mode_t> modeToRestore;
    // Where the listing goes on when a suspended folder is reopened.
    off_t suspendedAt = 0;
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

    ~State() { Close(); }

    void Close()
    {
        if (fd < 0)
            return;
        if (modeToRestore)
            fchmod(fd, *modeToRestore);
        modeToRestore.reset();
        close(std::exchange(fd, -1));
        GiveFolderSlot();
    }

    // Takes fd over (with a slot of the budget already taken for it); nullptr, with fd closed
    // and the slot given back, when it is no folder.
    static std::unique_ptr<State> Adopt(int fd)
    {
        struct statx stx;
        if (fd < 0 || statx(fd, "", AT_EMPTY_PATH, STATX_TYPE | STATX_INO | STATX_MNT_ID, &stx) != 0 ||
            !S_ISDIR(stx.stx_mode)) {
            if (fd >= 0)
                close(fd);
            GiveFolderSlot();
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

    // Opens name of dirFd as a folder within the budget (see OpenForListing).
    static std::unique_ptr<State> Open(int dirFd, const char* name, bool sameFileSystem)
    {
        if (!TakeFolderSlot())
            return nullptr;
        return Adopt(OpenForListing(dirFd, name, sameFileSystem));
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
    if (path.isEmpty())
        return {};
    UniqueFd current;
    struct stat currentStat;
    const auto startAt = [&](const char* folder) {
        current = UniqueFd(open(folder, PathFlags | O_DIRECTORY));
        return current.Get() >= 0 && fstat(current.Get(), &currentStat) == 0;
    };
    if (!startAt(path.startsWith('/') ? "/" : "."))
        return {};
    // Set once a link out of a folder of an unprivileged user was followed: the only owner,
    // besides root, of everything after it.
    std::optional<uid_t> owner;
    // The components still to resolve, the next one last.
    QByteArrayList pending = path.split('/');
    std::reverse(pending.begin(), pending.end());
    int links = 0;
    while (!pending.isEmpty()) {
        const QByteArray name = pending.takeLast();
        if (name.isEmpty() || name == ".")
            continue;
        UniqueFd next(openat(current.Get(), name.constData(), PathFlags));
        struct stat nextStat;
        if (next.Get() < 0 || fstat(next.Get(), &nextStat) != 0)
            return {};
        if (S_ISLNK(nextStat.st_mode)) {
            if (++links > MaxLinks)
                return {};
            // Not by the link's size: some file systems give none.
            QByteArray target(PATH_MAX, Qt::Uninitialized);
            const ssize_t size = readlinkat(next.Get(), "", target.data(), size_t(target.size()));
            if (size <= 0 || size >= target.size())
                return {};
            target.truncate(size);
            if (currentStat.st_uid != 0) {
                if (owner && *owner != currentStat.st_uid)
                    return {};
                owner = currentStat.st_uid;
            }
            QByteArrayList parts = target.split('/');
            std::reverse(parts.begin(), parts.end());
            pending.append(parts);
            if (target.startsWith('/') && !startAt("/"))
                return {};
            continue;
        }
        if (owner && nextStat.st_uid != *owner && nextStat.st_uid != 0)
            return {};
        current = std::move(next);
        currentStat = nextStat;
    }
    if (owner && currentStat.st_uid != *owner)
        return {};
    return Folder(State::Open(current.Get(), ".", false));
}

Folder Folder::OpenChild(const char* name) const
{
    auto child = State::Open(m_state->fd, name, true);
    // Without openat2 the mount is told after the opening.
    if (child == nullptr || child->id.device != m_state->id.device || child->mountId != m_state->mountId)
        return {};
    return Folder(std::move(child));
}

ObjectId Folder::Id() const
{
    return m_state->id;
}

bool Folder::Suspend()
{
    if (m_state->fd < 0)
        return false;
    m_state->suspendedAt = lseek(m_state->fd, 0, SEEK_CUR);
    m_state->Close();
    return true;
}

bool Folder::IsSuspended() const
{
    return m_state->fd < 0;
}

bool Folder::Resume(const Folder& child)
{
    auto reopened = State::Open(child.m_state->fd, "..", true);
    if (reopened == nullptr || reopened->id != m_state->id || reopened->mountId != m_state->mountId ||
        lseek(reopened->fd, m_state->suspendedAt, SEEK_SET) < 0) {
        m_state->count = m_state->position = 0;
        return false;
    }
    m_state->fd = std::exchange(reopened->fd, -1);
    // The slot taken for the reopening is this folder's now.
    return true;
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

StatOutcome Folder::Stat(const Entry& entry, DateKind dateKind, ItemStat& stat) const
{
    // What may be a folder may be a mount point: its identity is taken without asking the
    // file system mounted there (which may never answer).
    UniqueFd beneath;
    int dirFd = m_state->fd;
    const char* name = entry.name;
    int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT;
    if (entry.kind == ItemKind::Folder || entry.kind == ItemKind::Unknown) {
        beneath = UniqueFd(OpenBeneath(dirFd, name, PathFlags));
        if (beneath.Get() < 0 && errno != ENOSYS)
            return errno == EXDEV ? StatOutcome::OtherFileSystem : StatOutcome::Unreadable;
        if (beneath.Get() >= 0) {
            dirFd = beneath.Get();
            name = "";
            flags |= AT_EMPTY_PATH;
        }
    }
    if (dateKind == DateKind::Created) {
        struct statx stx;
        if (statx(dirFd, name, flags, STATX_TYPE | STATX_INO | STATX_SIZE | STATX_BTIME | STATX_CTIME,
                  &stx) != 0)
            return StatOutcome::Unreadable;
        stat.kind = KindOfMode(stx.stx_mode);
        stat.id = IdOf(stx);
        stat.size = qint64(stx.stx_size);
        // Where the file system keeps no birth time, the status change is the nearest.
        stat.date = (stx.stx_mask & STATX_BTIME) ? stx.stx_btime.tv_sec : stx.stx_ctime.tv_sec;
    } else {
        // The other dates need no statx, and the older call costs a little less per item.
        struct stat st;
        if (fstatat(dirFd, name, &st, flags) != 0)
            return StatOutcome::Unreadable;
        stat.kind = KindOfMode(st.st_mode);
        stat.id = {st.st_dev, st.st_ino};
        stat.size = qint64(st.st_size);
        stat.date = dateKind == DateKind::Modified ? st.st_mtim.tv_sec : st.st_atim.tv_sec;
    }
    // Without openat2, another file system shows by its device.
    return stat.id.device == m_state->id.device ? StatOutcome::Read : StatOutcome::OtherFileSystem;
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

namespace {

constexpr int TrashFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// Names tried in a trash before an item is given up: a few in sequence, then random ones.
constexpr int TrashNameAttempts = 64;
constexpr int SequentialAttempts = 8;

// The subfolder name of dirFd, made for this user alone when missing; never a link.
UniqueFd OpenOrMakeFolder(int dirFd, const char* name)
{
    if (mkdirat(dirFd, name, 0700) != 0 && errno != EEXIST)
        return UniqueFd();
    return UniqueFd(openat(dirFd, name, TrashFolderFlags));
}

bool OwnedFolder(int fd)
{
    struct stat st;
    return fd >= 0 && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid();
}

// The path the kernel gives the opened object, as it is reached now.
QByteArray PathOfFd(int fd)
{
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    QByteArray path(PATH_MAX, Qt::Uninitialized);
    const ssize_t size = readlink(link.constData(), path.data(), size_t(path.size()));
    if (size <= 0 || size >= path.size() || path[0] != '/')
        return {};
    path.truncate(size);
    return path;
}

// A mount point as /proc/self/mountinfo writes it: space, tab, line break and backslash as
// three octal digits after a backslash.
QByteArray UnescapedMountPath(const QByteArray& field)
{
    QByteArray path;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int value = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                path += char(value);
                i += 3;
                continue;
            }
        }
        path += field[i];
    }
    return path;
}

// Where the mount of this id (or, without one, of this device) is.
QByteArray MountPointOf(const ObjectId& device, std::optional<quint64> mountId)
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    const QByteArray deviceText =
        QByteArray::number(major(device.device)) + ':' + QByteArray::number(minor(device.device));
    // Read whole: the kernel gives the file no size, so it is never at its end before.
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QByteArrayList fields = line.split(' ');
        if (fields.size() < 5)
            continue;
        if (mountId ? fields[0].toULongLong() == *mountId : fields[2] == deviceText)
            return UnescapedMountPath(fields[4]);
    }
    return {};
}

} // namespace

// One trash: its files and info folders held open, the path of the trash folder and, for a
// trash at the top of a file system, the path of that top folder.
struct TrashBin
{
    ObjectId device;
    std::optional<quint64> mountId;
    bool usable = false;
    UniqueFd files;
    UniqueFd info;
    QByteArray path;
    QByteArray top; // empty for the home trash
};

struct TrashCan::State
{
    QByteArray homePath;
    std::optional<TrashBin> home;
    std::vector<TrashBin> others;

    // The trash folder open at folderFd, with files and info inside; false when not.
    static bool OpenParts(TrashBin& bin, int folderFd)
    {
        bin.files = OpenOrMakeFolder(folderFd, "files");
        bin.info = OpenOrMakeFolder(folderFd, "info");
        bin.usable = OwnedFolder(bin.files.Get()) && OwnedFolder(bin.info.Get());
        return bin.usable;
    }

    // The file system of fd, whose items this trash takes.
    static void Identify(TrashBin& bin, int fd)
    {
        struct statx stx;
        if (fd < 0 || statx(fd, "", AT_EMPTY_PATH, STATX_INO | STATX_MNT_ID, &stx) != 0)
            return;
        bin.device = {makedev(stx.stx_dev_major, stx.stx_dev_minor), 0};
        if (stx.stx_mask & STATX_MNT_ID)
            bin.mountId = stx.stx_mnt_id;
    }

    TrashBin& Home()
    {
        if (home)
            return *home;
        home.emplace();
        home->path = homePath;
        const QByteArray parent = homePath.left(homePath.lastIndexOf('/'));
        if (!homePath.startsWith('/') || !(parent.isEmpty() || QDir().mkpath(QFile::decodeName(parent))))
            return *home;
        // The user's own folders: links above the trash are followed, as every desktop does.
        mkdir(homePath.constData(), 0700);
        const UniqueFd folder(open(homePath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        // Known also when the trash cannot be used, so that the items of its file system stay
        // rather than go to a trash of the system's.
        Identify(
            *home,
            folder.Get() >= 0
                ? folder.Get()
                : UniqueFd(open(parent.isEmpty() ? "/" : parent.constData(), PathFlags | O_DIRECTORY)).Get());
        if (OwnedFolder(folder.Get()))
            OpenParts(*home, folder.Get());
        return *home;
    }

    // $top/.Trash/$uid where .Trash is a sticky folder and no link, else $top/.Trash-$uid.
    static TrashBin AtTop(const ObjectId& device, std::optional<quint64> mountId)
    {
        TrashBin bin;
        bin.device = {device.device, 0};
        bin.mountId = mountId;
        bin.top = MountPointOf(device, mountId);
        const UniqueFd top(bin.top.startsWith('/') ? open(bin.top.constData(), PathFlags | O_DIRECTORY) : -1);
        struct statx stx;
        // The mount point must still hold that mount.
        if (top.Get() < 0 || statx(top.Get(), "", AT_EMPTY_PATH, STATX_INO | STATX_MNT_ID, &stx) != 0 ||
            makedev(stx.stx_dev_major, stx.stx_dev_minor) != device.device ||
            (mountId && (stx.stx_mask & STATX_MNT_ID) && stx.stx_mnt_id != *mountId))
            return bin;
        const QByteArray uid = QByteArray::number(geteuid());
        const QByteArray topPrefix = bin.top == "/" ? QByteArray() : bin.top;
        struct stat shared;
        if (fstatat(top.Get(), ".Trash", &shared, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(shared.st_mode) &&
            (shared.st_mode & S_ISVTX)) {
            const UniqueFd admin(openat(top.Get(), ".Trash", TrashFolderFlags));
            const UniqueFd own(admin.Get() >= 0 ? OpenOrMakeFolder(admin.Get(), uid.constData())
                                                : UniqueFd());
            struct stat opened;
            if (fstat(admin.Get(), &opened) == 0 && opened.st_ino == shared.st_ino &&
                (opened.st_mode & S_ISVTX) && OwnedFolder(own.Get()) && OpenParts(bin, own.Get())) {
                bin.path = topPrefix + "/.Trash/" + uid;
                return bin;
            }
        }
        const QByteArray ownName = ".Trash-" + uid;
        const UniqueFd own = OpenOrMakeFolder(top.Get(), ownName.constData());
        if (OwnedFolder(own.Get()) && OpenParts(bin, own.Get()))
            bin.path = topPrefix + '/' + ownName;
        return bin;
    }

    // The trash for an item of this file system: the home trash when it is on the same mount,
    // else the one at the top of the item's own; nullptr when there is none to be had.
    TrashBin* For(const ObjectId& device, std::optional<quint64> mountId)
    {
        const auto sameMount = [&](const TrashBin& bin) {
            return bin.device.device == device.device && (!mountId || !bin.mountId || bin.mountId == mountId);
        };
        TrashBin& homeBin = Home();
        if (sameMount(homeBin))
            return homeBin.usable ? &homeBin : nullptr;
        auto known = std::find_if(others.begin(), others.end(), sameMount);
        if (known == others.end()) {
            others.push_back(AtTop(device, mountId));
            known = others.end() - 1;
        }
        return known->usable ? &*known : nullptr;
    }
};

TrashCan::TrashCan(QByteArray homeTrash) : m_state(std::make_unique<State>())
{
    m_state->homePath = std::move(homeTrash);
}

TrashCan::~TrashCan() = default;

std::optional<QByteArray> Folder::MoveToTrash(const char* name, TrashCan& can, const QDateTime& deletionDate)
{
    TrashBin* bin = can.m_state->For(m_state->id, m_state->mountId);
    const QByteArray folderPath = PathOfFd(m_state->fd);
    if (bin == nullptr || folderPath.isEmpty())
        return std::nullopt;
    QByteArray original = (folderPath == "/" ? QByteArray() : folderPath) + '/' + name;
    if (!bin->top.isEmpty()) {
        // Relative to the top of the file system, so that it holds wherever that is mounted.
        const QByteArray top = bin->top == "/" ? QByteArray("/") : bin->top + '/';
        if (!original.startsWith(top))
            return std::nullopt;
        original.remove(0, top.size());
    }
    const QByteArray info = TrashInfoText(original, deletionDate);
    for (int attempt = 0; attempt < TrashNameAttempts; ++attempt) {
        const QByteArray trashName =
            TrashName(name, attempt < SequentialAttempts
                                ? attempt
                                : int(QRandomGenerator::global()->bounded(SequentialAttempts, INT_MAX)));
        const QByteArray infoName = trashName + ".trashinfo";
        const int infoFd = openat(bin->info.Get(), infoName.constData(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (infoFd < 0) {
            if (errno == EEXIST)
                continue;
            return std::nullopt;
        }
        const bool written = write(infoFd, info.constData(), size_t(info.size())) == info.size();
        const bool closed = close(infoFd) == 0;
        int error = EIO;
        if (written && closed) {
            if (MoveInto(name, bin->files.Get(), trashName.constData()))
                return bin->path + "/files/" + trashName;
            error = errno;
        }
        unlinkat(bin->info.Get(), infoName.constData(), 0);
        if (error != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

bool Folder::MoveInto(const char* name, int toFd, const char* newName)
{
    const auto move = [&] {
        if (renameat2(m_state->fd, name, toFd, newName, RENAME_NOREPLACE) == 0)
            return true;
        if (errno != EINVAL)
            return false;
        // A file system without the flag: the name is checked first instead.
        struct stat st;
        if (fstatat(toFd, newName, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            errno = EEXIST;
            return false;
        }
        return renameat(m_state->fd, name, toFd, newName) == 0;
    };
    if (move())
        return true;
    return errno == EACCES && m_state->MakeWritable() && move();
}

QByteArray Folder::Path() const
{
    return PathOfFd(m_state->fd);
}

std::optional<QByteArray> Folder::ReadSmallFile(const char* name, qint64 limit) const
{
    const UniqueFd fd(openat(m_state->fd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st;
    if (fd.Get() < 0 || fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > limit)
        return std::nullopt;
    QByteArray content(qsizetype(st.st_size), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < content.size()) {
        const ssize_t size = read(fd.Get(), content.data() + got, size_t(content.size() - got));
        if (size < 0 && errno == EINTR)
            continue;
        if (size <= 0)
            break;
        got += size;
    }
    content.truncate(got);
    return content;
}

Folder::MoveOutcome Folder::MoveTo(const char* name, Folder& to, const char* newName)
{
    bool moved = MoveInto(name, to.m_state->fd, newName);
    if (!moved && errno == EACCES && to.m_state->MakeWritable())
        moved = MoveInto(name, to.m_state->fd, newName);
    if (moved)
        return MoveOutcome::Moved;
    switch (errno) {
    case EEXIST:
    case ENOTEMPTY:
        return MoveOutcome::Taken;
    case ENOENT:
        return MoveOutcome::Missing;
    default:
        return MoveOutcome::Failed;
    }
}

} // namespace FsWalk
