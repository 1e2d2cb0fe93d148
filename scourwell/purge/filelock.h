#pragma once

#include <QMutex>

// One process-wide lock around every append to a week log and every read-modify-write of
// statdump.tmp, so that concurrent runs neither interleave rows nor lose markers.
QMutex& SharedFileLock();
