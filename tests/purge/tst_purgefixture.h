// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Trees of files, folders and links with set dates, made by byte names, for the purge tests.

#include "purge/purgeengine.h"
#include "support/mockclock.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

// The present time of every purge test; "old" items are 10 days old, "new" ones 1 hour.
inline QDateTime TestNow()
{
    return QDateTime(QDate(2026, 3, 10), QTime(12, 0));
}
inline qint64 OldDate()
{
    return TestNow().addDays(-10).toSecsSinceEpoch();
}
inline qint64 NewDate()
{
    return TestNow().addSecs(-3600).toSecsSinceEpoch();
}

class PurgeTree
{
public:
    PurgeTree() { QVERIFY(m_dir.isValid()); }
    // A tree in memory where the machine offers one, for many files.
    struct InMemory
    {
    };
    explicit PurgeTree(InMemory)
        : m_dir(QFileInfo("/dev/shm").isDir() ? "/dev/shm/purgetest-XXXXXX" : QString())
    {
        QVERIFY(m_dir.isValid());
    }

    QByteArray Path(const QByteArray& relative = {}) const
    {
        const QByteArray root = QFile::encodeName(m_dir.path());
        return relative.isEmpty() ? root : root + '/' + relative;
    }
    QString Text(const QByteArray& relative = {}) const { return QFile::decodeName(Path(relative)); }

    void File(const QByteArray& relative, qint64 date, mode_t mode = 0644) const
    {
        const int fd = ::open(Path(relative).constData(), O_CREAT | O_WRONLY | O_TRUNC, mode);
        QVERIFY2(fd >= 0, relative.constData());
        QCOMPARE(::write(fd, "x", 1), 1);
        ::close(fd);
        SetDate(relative, date);
    }
    void Folder(const QByteArray& relative) const { QCOMPARE(::mkdir(Path(relative).constData(), 0755), 0); }
    void Link(const QByteArray& relative, const QByteArray& target, qint64 date) const
    {
        QCOMPARE(::symlink(target.constData(), Path(relative).constData()), 0);
        SetDate(relative, date);
    }
    // Sets access and modification date alike (a link's own).
    void SetDate(const QByteArray& relative, qint64 date) const { SetDates(relative, date, date); }
    void SetDates(const QByteArray& relative, qint64 accessed, qint64 modified) const
    {
        const timespec times[2] = {{accessed, 0}, {modified, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, Path(relative).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
    }
    bool Exists(const QByteArray& relative) const
    {
        struct stat st;
        return ::lstat(Path(relative).constData(), &st) == 0;
    }
    qint64 Accessed(const QByteArray& relative) const
    {
        struct stat st;
        return ::lstat(Path(relative).constData(), &st) == 0 ? qint64(st.st_atim.tv_sec) : -1;
    }
    // Hands relative and everything below it to owner.
    void Chown(const QByteArray& relative, uid_t owner) const
    {
        QCOMPARE(::lchown(Path(relative).constData(), owner, owner), 0);
        struct stat st;
        if (::lstat(Path(relative).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            return;
        for (const QByteArray& child : Children(relative))
            Chown(child, owner);
    }
    // A chain of count old folders "d" below relative, each holding an old file named file;
    // the path of the deepest.
    QByteArray Chain(const QByteArray& relative, int count, const QByteArray& file) const
    {
        QByteArray path = relative;
        for (int level = 0; level < count; ++level) {
            path += "/d";
            Folder(path);
            File(path + '/' + file, OldDate());
        }
        for (QByteArray folder = path; folder != relative; folder.truncate(folder.lastIndexOf('/')))
            SetDate(folder, OldDate());
        return path;
    }

    enum class FolderAccess
    {
        Left, // reading a folder may set it
        Listed
    };
    // Every entry below relative with its kind, mode and dates, sorted: equal listings mean
    // nothing was changed.
    QList<QByteArray> Listing(const QByteArray& relative = {},
                              FolderAccess folderAccess = FolderAccess::Left) const
    {
        QList<QByteArray> lines;
        AddListing(relative, folderAccess, lines);
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    // The bytes of relative, or of everything below it when it is a folder.
    qint64 Bytes(const QByteArray& relative) const
    {
        struct stat st;
        if (::lstat(Path(relative).constData(), &st) != 0)
            return 0;
        if (!S_ISDIR(st.st_mode))
            return st.st_size;
        qint64 bytes = 0;
        for (const QByteArray& child : Children(relative))
            bytes += Bytes(child);
        return bytes;
    }

private:
    QList<QByteArray> Children(const QByteArray& relative) const
    {
        QList<QByteArray> children;
        // Without the access date where this user may ask for that, so that a listing does
        // not change what the next one sees.
        int fd = ::open(Path(relative).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOATIME);
        if (fd < 0 && errno == EPERM)
            fd = ::open(Path(relative).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
        if (dir == nullptr) {
            if (fd >= 0)
                ::close(fd);
            return children;
        }
        while (const dirent* item = ::readdir(dir)) {
            const QByteArray name = item->d_name;
            if (name != "." && name != "..")
                children.append(relative.isEmpty() ? name : relative + '/' + name);
        }
        ::closedir(dir);
        return children;
    }

    void AddListing(const QByteArray& relative, FolderAccess folderAccess, QList<QByteArray>& lines) const
    {
        for (const QByteArray& child : Children(relative)) {
            struct stat st;
            if (::lstat(Path(child).constData(), &st) != 0)
                continue;
            const qint64 accessed =
                S_ISDIR(st.st_mode) && folderAccess == FolderAccess::Left ? 0 : st.st_atim.tv_sec;
            lines.append(child + ' ' + QByteArray::number(st.st_mode, 8) + ' ' +
                         QByteArray::number(qint64(st.st_mtim.tv_sec)) + ' ' + QByteArray::number(accessed));
            if (S_ISDIR(st.st_mode))
                AddListing(child, folderAccess, lines);
        }
    }

    QTemporaryDir m_dir;
};

// Runs work in a child process after prepare has set the child up. Returns work's result,
// which must lie in 0..250; -1 when prepare or the child failed.
inline int RunInChild(const std::function<bool()>& prepare, const std::function<int()>& work)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(prepare() ? work() : 255);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 250)
        return -1;
    return WEXITSTATUS(status);
}

enum class Handover
{
    Tree,   // the tree is made nobody's first
    Nothing // the tree stays root's
};

// Runs work as an unprivileged user (nobody), so that permission bits count also when the
// tests run as root: in a child process, after handing it the tree unless told otherwise.
inline int RunUnprivileged(const PurgeTree& tree, const std::function<int()>& work,
                           Handover handover = Handover::Tree)
{
    if (::geteuid() != 0)
        return work();
    constexpr uid_t Nobody = 65534;
    if (handover == Handover::Tree)
        tree.Chown({}, Nobody);
    return RunInChild([] { return ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0; }, work);
}

// Runs work in a child process in which the kernel seems to lack openat2, as before Linux 5.6.
inline int RunWithoutOpenAt2(const std::function<int()>& work)
{
    return RunInChild(
        [] {
            sock_filter filter[] = {
                BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
                BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_openat2, 0, 1),
                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOSYS),
                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
            };
            const sock_fprog program{sizeof filter / sizeof filter[0], filter};
            return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
                   ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
        },
        work);
}

// Whether this process may mount, in a mount namespace of its own (made at the first call).
inline bool OwnMounts()
{
    static const bool own = ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0 &&
                            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return own;
}

// The descriptors this process holds.
inline int OpenDescriptors()
{
    return int(
        QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

inline PurgeRequest Request(const QString& style, const QString& folder, const QString& value = "1",
                            const QString& unit = "Day", const QString& by = "Date: Last Modified")
{
    return PurgeRequestOf(ParseWord<PurgeStyle>(style).value(), folder, value, unit, by).value();
}
