// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/atomicfile.h"

#include <QThread>
#include <algorithm>

bool WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    return ReplaceFile(path, bytes) == FileWrite::Done;
}

FileWrite RetryWhileNoDescriptors(const std::function<FileWrite()>& write)
{
    // Doubling pauses from 20 ms: ten tries over about two seconds.
    constexpr int Tries = 10;
    unsigned long pause = 20;
    FileWrite result = write();
    for (int i = 1; i < Tries && result == FileWrite::NoDescriptors; ++i) {
        QThread::msleep(pause);
        pause = std::min(pause * 2, 400UL);
        result = write();
    }
    return result;
}
