// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMutex>

// One process-wide lock around every append to a week log and every access to statdump.tmp
// and the process's list of live markers, so that concurrent runs neither interleave rows
// nor lose markers.
QMutex& SharedFileLock();
