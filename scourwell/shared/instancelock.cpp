// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/instancelock.h"

std::unique_ptr<QLockFile> LockSingleInstance(const QString& programFolder, QLockFile::LockError* error)
{
    auto lock = std::make_unique<QLockFile>(programFolder + QLatin1String("/.scourwell.lock"));
    // Held for days: only a lock whose process is gone counts as stale, never an old one.
    lock->setStaleLockTime(0);
    const bool locked = lock->tryLock(0);
    if (error)
        *error = lock->error();
    return locked ? std::move(lock) : nullptr;
}
