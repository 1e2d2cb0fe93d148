// SPDX-License-Identifier: GPL-3.0-or-later
// Sorting 10,000 job rows by their next run (goal under 50 ms) and one check tick over
// 10,000 jobs of which none is due (goal under 5 ms).
#include "config/jobtable.h"
#include "config/runtime.h"
#include "schedule/checktimer.h"
#include "shared/sortlistview.h"

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int Jobs = 10000;
constexpr int Runs = 21;

class NoLauncher : public JobLauncher
{
public:
    void RunNowPurgeFiles(const LaunchValues&) override { ++launches; }
    void RunNowPurgeFileSubfolders(const LaunchValues&) override { ++launches; }
    void RunNowPurgeSubfolders(const LaunchValues&) override { ++launches; }
    int launches = 0;
};

// Times work alone; prepare runs untimed before each run.
double MedianMs(const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Jobs spread over two years of run times, every minute of the day, in random order.
std::vector<JobRow> MakeJobs(const QDateTime& now)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> minutes(1, 2 * 365 * 24 * 60);
    std::vector<JobRow> rows;
    for (int i = 0; i < Jobs; ++i) {
        JobRow row;
        row.FolderLoc = "/srv/data/folder" + QString::number(i);
        row.Status = i % 3 ? JobStatus::Enabled : JobStatus::Disabled;
        row.icon = i % 3 ? RowIcon::Enabled : RowIcon::Disabled;
        row.ValPurge = QString::number(i % 90 + 1);
        row.ValOfPurge = TimeUnit::Day;
        row.Description = "Job number " + QString::number(i);
        row.Style = i % 4 ? ScheduleKind::Routine : ScheduleKind::Specific;
        row.FileFolderStyle = PurgeStyle::FilesOnly;
        row.ValEvery = i % 4 ? "5" : "";
        row.ValOfEvery = i % 4 ? StoredWord<TimeUnit>(TimeUnit::Minute) : StoredWord<TimeUnit>();
        row.NextRun = FullForm(now.addSecs(60LL * minutes(random)));
        rows.push_back(row);
    }
    return rows;
}

} // namespace

int main()
{
    const QDateTime now(QDate(2026, 3, 7), QTime(12, 0, 30));
    const std::vector<JobRow> rows = MakeJobs(now);
    JobTable table;
    bool ascending = true;

    const double sortDateMs = MedianMs([&] { table.Reset(rows); },
                                       [&] {
                                           table.Sort(7, SortKind::Date, ascending);
                                           ascending = !ascending;
                                       });
    const double sortNumberMs =
        MedianMs([&] { table.Reset(rows); }, [&] { table.Sort(2, SortKind::Number, true); });
    const double sortTextMs =
        MedianMs([&] { table.Reset(rows); }, [&] { table.Sort(1, SortKind::Text, true); });

    QTemporaryDir dir;
    NoLauncher launcher;
    table.Reset(rows);
    bool saved = false;
    const double tickMs =
        MedianMs([] {}, [&] { saved = TimerCheckJobTick(table, now, launcher, dir.path()) || saved; });
    if (launcher.launches != 0 || saved) {
        std::fprintf(stderr, "a job ran although none was due\n");
        return 1;
    }

    std::printf("bench_schedule: %d jobs, median of %d runs: sort by next run %.2f ms (goal < 50), "
                "by number %.2f ms, by text %.2f ms; check tick, none due %.3f ms (goal < 5)\n",
                Jobs, Runs, sortDateMs, sortNumberMs, sortTextMs, tickMs);
    return 0;
}
