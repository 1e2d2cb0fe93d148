// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/filelock.h"

QMutex& SharedFileLock()
{
    static QMutex lock;
    return lock;
}
