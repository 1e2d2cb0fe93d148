// SPDX-License-Identifier: GPL-3.0-or-later
// scourwell --purge without the window libraries: the same command on scourwell_purge alone,
// so that bench_purge.py can tell the purge's own time from the start-up of the full program.
#include "purge/purgecommand.h"
#include "purge/purgeengine.h"
#include "shared/clock.h"

#include <QCoreApplication>
#include <QTextStream>
#include <atomic>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const std::atomic_bool stop = false;
    return PurgeCommandMain(app.arguments().mid(1), Clock::System(), {}, out, err, stop);
}
