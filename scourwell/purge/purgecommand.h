#pragma once

#include <QStringList>
#include <QTextStream>

#include <atomic>

class Clock;

// scourwell --purge FOLDER --older-than N UNIT [--style STYLE] [--by DATE] [--dry-run]:
// one purge in the foreground. args are the arguments after the program name. Prints each
// path deleted (or that would be) and the count last; a wrong argument gets a one-line usage
// message on err and status 2. Touches no configuration, log or status file.
int PurgeCommandMain(const QStringList& args, const Clock& clock, const QStringList& protectedPaths,
                     QTextStream& out, QTextStream& err, const std::atomic_bool& stop);
