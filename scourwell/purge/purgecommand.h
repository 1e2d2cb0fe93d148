// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QTextStream>
#include <atomic>

class Clock;

// The status of a purge stopped before its end: 128 + SIGINT, as a shell reports an interrupt.
constexpr int PurgeStoppedStatus = 130;

// scourwell --purge FOLDER --older-than N UNIT [--style STYLE] [--by DATE] [--trash]
// [--dry-run [--verbose] [--format text|tsv]]: one purge in the foreground. args are the
// arguments after the program name. --trash moves what goes to the trash instead of deleting
// it. Prints each path deleted (or moved) on a line of its own, in $'...'
// quoting when it holds a line break, and the count last. A dry run prints instead a line per
// item that would go (and, verbose, per item kept, with why), then the totals of files,
// folders and bytes. Returns 0 when done; a wrong argument gets a one-line usage
// message on err and status 2; a folder that cannot be opened a message and 1, as does an
// output that could not be written in full (the purge still goes to its end); stop (checked
// before each item) ends it with PurgeStoppedStatus. Touches no configuration, log or status
// file.
int PurgeCommandMain(const QStringList& args, const Clock& clock, const QStringList& protectedPaths,
                     QTextStream& out, QTextStream& err, const std::atomic_bool& stop);
