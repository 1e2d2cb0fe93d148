// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/threadid.h"

#include <QThread>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

quint64 CurrentThreadNumber()
{
#ifdef Q_OS_LINUX
    return static_cast<quint64>(gettid());
#else
    return static_cast<quint64>(reinterpret_cast<quintptr>(QThread::currentThreadId()));
#endif
}
