#include "purge/instancelock.h"

#include <QLockFile>

std::unique_ptr<QLockFile> LockSingleInstance(const QString& programFolder)
{
    auto lock = std::make_unique<QLockFile>(programFolder + QLatin1String("/.scourwell.lock"));
    // Held for days: only a lock whose process is gone counts as stale, never an old one.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}
