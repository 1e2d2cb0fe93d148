#include "purge/filelock.h"

QMutex& SharedFileLock()
{
    static QMutex lock;
    return lock;
}
