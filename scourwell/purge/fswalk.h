// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>
#include <memory>
#include <optional>

// The file-system calls of the purge, kept in one small layer so that the engine stays
// portable. Names are bytes as the file system stores them (a name need not be valid
// UTF-8). Every operation works relative to an opened folder and never follows a link, so
// a folder swapped for a link while a run is under way cannot redirect it. Where the kernel
// has openat2, no call enters another file system below a job folder, so a mount that does
// not answer cannot hold a run.
// Folders are read without changing their access dates where the file system allows it.
namespace FsWalk {

// Raises the soft limit of open descriptors to the hard one; called once at start.
void RaiseDescriptorLimit();

// Whether the folders open in walks, counted across the process, have reached the share of
// descriptors the walks may use (the rest is kept for logs, the status file and windows).
bool FolderBudgetSpent();

enum class DateKind
{
    Created,
    Modified,
    Accessed
};

enum class ItemKind
{
    Unknown, // the listing did not say; Stat tells
    File,
    Link,
    Folder,
    Other // sockets, pipes, devices: never deleted
};

struct ObjectId
{
    quint64 device = 0;
    quint64 inode = 0;
    friend bool operator==(const ObjectId&, const ObjectId&) = default;
};

struct Entry
{
    const char* name = nullptr; // valid until the next Next()
    ItemKind kind = ItemKind::Unknown;
    ObjectId id; // right for everything but a mount point
};

struct ItemStat
{
    ItemKind kind = ItemKind::Other;
    ObjectId id;
    qint64 date = 0; // seconds since the epoch
    qint64 size = 0; // bytes; a link's own
};

enum class StatOutcome
{
    Read,
    Unreadable,     // gone, or its status could not be read
    OtherFileSystem // a mount point, whose file system is never asked
};

// The identity of path itself (a link's own) and, when it is a link, of its target;
// nothing for a path that does not exist.
struct PathIds
{
    std::optional<ObjectId> own;
    std::optional<ObjectId> target;
};
PathIds IdsOfPath(const QByteArray& path);

// The trashes one run moves items to: the home trash, and one at the top of each other file
// system, each found and opened when an item first needs it and kept open while this lives.
class TrashCan
{
public:
    // homeTrash: the home trash folder (HomeTrashFolder), made when missing.
    explicit TrashCan(QByteArray homeTrash);
    ~TrashCan();
    TrashCan(const TrashCan&) = delete;
    TrashCan& operator=(const TrashCan&) = delete;

private:
    friend class Folder;
    struct State;
    std::unique_ptr<State> m_state;
};

// An opened folder, enumerated as it is read: memory does not grow with its size.
class Folder
{
public:
    Folder();
    Folder(Folder&&) noexcept;
    Folder& operator=(Folder&&) noexcept;
    ~Folder(); // gives back a mode that Delete changed

    // The job folder, opened one component at a time. A link is followed only where it is
    // safe: a link in a folder of an unprivileged user must lead to a folder of that user,
    // passing only through folders of that user or of root (no one else can swap them).
    // A closed Folder when that fails, or after too many links.
    static Folder Open(const QByteArray& path);
    // A subfolder, never through a link and never onto another mount (a mount point is
    // left alone); a closed Folder when that fails or the walks' budget is spent.
    Folder OpenChild(const char* name) const;

    bool IsOpen() const { return m_state != nullptr; }
    ObjectId Id() const;

    // Closes the descriptor but keeps the place in the listing, to save descriptors while a
    // walk is deeper down; false when it was not open.
    bool Suspend();
    bool IsSuspended() const;
    // Reopens a suspended folder as the parent of child, which must be it still (not moved
    // meanwhile), and goes on where the listing was. On failure it stays closed for good:
    // its listing ends and nothing in it can be deleted.
    bool Resume(const Folder& child);

    // The next entry but "." and ".." (in an order that suits the file system, not by
    // name); false at the end or on a read error.
    bool Next(Entry& entry);
    void Rewind();

    // The entry's own kind, identity, size and date (a link's own).
    StatOutcome Stat(const Entry& entry, DateKind dateKind, ItemStat& stat) const;

    // Forced deletion of a file or link: when this folder forbids it, the folder is made
    // writable for the rest of its use.
    bool Delete(const char* name);
    bool RemoveEmptyChild(const char* name);
    // Moves name (a folder with all it holds) into the trash of its own file system: its
    // .trashinfo is made first, then the item is renamed in from this folder, never through a
    // link and never copied. Gives the item's path in the trash, or nothing when it stays
    // where it was (and its .trashinfo is removed again). A name the trash holds already
    // takes a new one there.
    std::optional<QByteArray> MoveToTrash(const char* name, TrashCan& can, const QDateTime& deletionDate);

    // The path the kernel gives this folder as it is reached now; empty when it cannot tell.
    QByteArray Path() const;
    // A small regular file of this folder, read whole without following a link; nothing when
    // it cannot be read or is larger than limit.
    std::optional<QByteArray> ReadSmallFile(const char* name, qint64 limit) const;
    enum class MoveOutcome
    {
        Moved,
        Taken,   // the new name is in use: nothing was replaced
        Missing, // name is not here
        Failed
    };
    // Moves name (a folder with all it holds) to newName in to, never through a link and never
    // replacing anything; forced on both folders as Delete is.
    MoveOutcome MoveTo(const char* name, Folder& to, const char* newName);

private:
    struct State;
    explicit Folder(std::unique_ptr<State> state);
    bool Unlink(const char* name, bool folder);
    // renameat without replacing anything, forced as Delete is.
    bool MoveInto(const char* name, int toFd, const char* newName);
    std::unique_ptr<State> m_state;
};

} // namespace FsWalk
