// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/atomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileWrite FailureOf(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileWrite::NoSpace;
    case EMFILE:
    case ENFILE:
        return FileWrite::NoDescriptors;
    default:
        return FileWrite::Failed;
    }
}

FileWrite LastFailure()
{
    return FailureOf(errno);
}

// Every byte, through short writes and interrupted calls; from offset on when it is not negative.
bool WriteAll(int fd, const QByteArray& bytes, off_t offset = -1)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = offset < 0 ? ::write(fd, data, static_cast<size_t>(left))
                                     : ::pwrite(fd, data, static_cast<size_t>(left), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A write that takes nothing without saying why has found no room.
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        left -= n;
        if (offset >= 0)
            offset += n;
    }
    return true;
}

// The file a link at path names, followed as far as it goes (a missing target is created).
QString FinalPath(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

// A file name beside target, hidden so that a purge of the folder passes over it.
QByteArray TemporaryName(const QString& target)
{
    const QFileInfo info(target);
    const QString name = QStringLiteral(".%1.%2")
                             .arg(info.fileName())
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    return QFile::encodeName(info.path() + u'/' + name);
}

// Removes the unfinished temporary file and reports why it was given up.
FileWrite Abandon(int fd, const QByteArray& temporary)
{
    const FileWrite failure = LastFailure();
    if (fd >= 0)
        ::close(fd);
    ::unlink(temporary.constData());
    return failure;
}

// Closes fd after writes that ended as ok says (else for failure); a close that fails spoils them.
FileWrite Close(int fd, bool ok, FileWrite failure)
{
    if (::close(fd) != 0 && ok)
        return LastFailure();
    return ok ? FileWrite::Done : failure;
}

} // namespace

FileWrite ReplaceFile(const QString& path, const QByteArray& bytes)
{
    if (path.isEmpty())
        return FileWrite::Failed;
    const QString target = FinalPath(path);
    const QByteArray targetName = QFile::encodeName(target);

    struct stat old;
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    if (!replacing && errno != ENOENT)
        return LastFailure();
    if (replacing && (S_ISDIR(old.st_mode) || ::access(targetName.constData(), W_OK) != 0))
        return FileWrite::Failed;
    const mode_t mode = replacing ? old.st_mode & 07777 : 0666;

    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = TemporaryName(target);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd < 0 && errno != EEXIST)
            return LastFailure();
    }
    if (fd < 0)
        return FileWrite::Failed;

    if (replacing) {
        // Owner first: a change of owner clears the set-id bits that the mode then restores.
        // Without the right to give the file away the writer keeps it (no worse than before).
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM)
            return Abandon(fd, temporary);
        if (::fchmod(fd, mode) != 0)
            return Abandon(fd, temporary);
    }
    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0)
        return Abandon(fd, temporary);
    const int closed = ::close(fd);
    if (closed != 0 || ::rename(temporary.constData(), targetName.constData()) != 0)
        return Abandon(-1, temporary);
    return FileWrite::Done;
}

FileWrite OverwriteFile(const QString& path, const QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return LastFailure();
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && (!S_ISREG(st.st_mode) || bytes.size() > st.st_size)) {
        errno = EINVAL;
        ok = false;
    }
    ok = ok && WriteAll(fd, bytes, 0) && ::ftruncate(fd, bytes.size()) == 0 && ::fsync(fd) == 0;
    return Close(fd, ok, LastFailure());
}

FileWrite AppendToFile(const QString& path, const QByteArray& bytes, const QByteArray& contentWhenEmpty)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0)
        return LastFailure();
    struct stat st;
    const bool measured = ::fstat(fd, &st) == 0;
    const bool ok = measured && WriteAll(fd, st.st_size == 0 ? contentWhenEmpty : bytes);
    const FileWrite failure = LastFailure();
    if (!ok && measured) {
        // Writers of this file hold one lock, so nothing else was appended meanwhile.
        [[maybe_unused]] const int cut = ::ftruncate(fd, st.st_size);
    }
    return Close(fd, ok, failure);
}
