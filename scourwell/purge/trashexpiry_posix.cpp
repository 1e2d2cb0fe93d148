// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/trashexpiry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far more than any .trashinfo holds; a bigger file is none of ours.
constexpr qsizetype MaxInfoSize = 64 * 1024;

} // namespace

std::optional<QByteArray> ReadTrashInfoFile(const QByteArray& path)
{
    // Non-blocking, so that a pipe put in its place cannot hold the caller.
    const int fd = open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> text;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= MaxInfoSize) {
        QByteArray bytes(MaxInfoSize + 1, Qt::Uninitialized);
        const ssize_t size = read(fd, bytes.data(), size_t(bytes.size()));
        if (size >= 0 && size <= MaxInfoSize) {
            bytes.truncate(size);
            text = bytes;
        }
    }
    close(fd);
    return text;
}

bool RemoveTrashInfoFile(const QByteArray& path)
{
    return unlink(path.constData()) == 0;
}
