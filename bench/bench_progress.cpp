// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of a run's live progress: the same purge of 100,000 old files in memory (/dev/shm,
// else the temporary folder), by the bare engine and by the engine counting its progress as an
// executor run does, taken in turns (and in both orders); the goal is no more than 3 % more.
#include "purge/purgeengine.h"
#include "purge/runprogress.h"
#include "shared/clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Files = 100000;
constexpr int Rounds = 9;

void MakeOldFiles(const QString& folder)
{
    QDir().mkpath(folder);
    const timespec old{1000000000, 0};
    const timespec times[2] = {old, old};
    for (int i = 0; i < Files; ++i) {
        const QByteArray path = QFile::encodeName(folder + QStringLiteral("/f%1").arg(i));
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
        ::futimens(fd, times);
        ::close(fd);
    }
}

// One purge of the folder as it stands; with a counter, the run's progress is kept.
double PurgeMilliseconds(const QString& folder, ProgressCounter* counter)
{
    const std::atomic_bool stop = false;
    const PurgeRequest request =
        *PurgeRequestOf(PurgeStyle::FilesOnly, folder, QStringLiteral("1"), QStringLiteral("Day"),
                        QStringLiteral("Date: Last Modified"));
    QElapsedTimer timer;
    timer.start();
    if (counter)
        RunSchedule(request, Clock::System(), stop, {}, {},
                    [counter](const ItemDecision& decision) { counter->Note(decision); });
    else
        RunSchedule(request, Clock::System(), stop);
    return timer.nsecsElapsed() / 1e6;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir work(base + QStringLiteral("/bench_progress-XXXXXX"));
    const QString folder = work.filePath(QStringLiteral("jobs"));
    std::vector<double> withProgress;
    std::vector<double> bare;
    for (int round = 0; round < Rounds; ++round) {
        for (const bool counted : {round % 2 == 0, round % 2 != 0}) {
            MakeOldFiles(folder);
            ProgressCounter counter;
            (counted ? withProgress : bare)
                .push_back(PurgeMilliseconds(folder, counted ? &counter : nullptr));
        }
    }
    const double run = Median(withProgress);
    const double engine = Median(bare);
    std::printf(
        "%d files, median of %d: with progress %.1f ms, bare engine %.1f ms, %+.1f %% (goal <= 3 %%)\n",
        Files, Rounds, run, engine, (run / engine - 1) * 100);
    return 0;
}
