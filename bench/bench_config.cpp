// SPDX-License-Identifier: GPL-3.0-or-later
// Load and save of a job table of 10,000 jobs: each should stay well under 100 ms. Then a
// hand-edited file of 500 KB that repeats the header [1]: load and save stay linear in its size.
#include "config/jobconfig.h"
#include "config/jobtable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int Jobs = 10000;
constexpr int Folders = 100; // the jobs share these folders; every tenth job's folder is missing
constexpr int Runs = 15;
constexpr int RepeatedHeaders = 100000; // "[1]\r\n" each: 500 KB
constexpr int RepeatedRuns = 3;

struct Timing
{
    double wallMs;
    double cpuMs;
};

// Medians of wall-clock and processor time: on a shared machine the wall clock also counts
// the time other programs had the processor.
Timing Measure(const std::function<void()>& work, int runs = Runs)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        work();
        wall.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        cpu.push_back(1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

JobRow MakeJob(const QString& root, int i)
{
    JobRow row;
    const QString folder = i % 10 == 9 ? QString(root + "/missing/" + QString::number(i))
                                       : QString(root + "/jobs/folder" + QString::number(i % Folders));
    row.FolderLoc = folder;
    row.Status = i % 3 ? JobStatus::Enabled : JobStatus::Disabled;
    row.ValPurge = QString::number(i % 90 + 1);
    row.ValOfPurge = TimeUnit::Day;
    row.Description = "Job number " + QString::number(i) + " of the benchmark";
    row.Style = ScheduleKind::Routine;
    row.FileFolderStyle = PurgeStyle::IncludeFilesInSubfolders;
    row.ValEvery = "1";
    row.ValOfEvery = TimeUnit::Hour;
    row.NextRun = i % 2 ? "03/07/2026 02:10 PM" : "03/07/2026 01:00 AM";
    return row;
}

// The file before each run: a save rewrites it, and the next load must see the headers again.
bool WriteRepeatedHeaders(const QString& program)
{
    QByteArray text = "[Initial]\r\nTotalJob=1\r\n";
    text.reserve(text.size() + RepeatedHeaders * 5);
    for (int i = 0; i < RepeatedHeaders; ++i)
        text += "[1]\r\n";
    QFile file(program + "/ConfigDat.ini");
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString program = dir.path();
    for (int f = 0; f < Folders; ++f)
        QDir(program).mkpath("jobs/folder" + QString::number(f));

    JobTable table;
    for (int i = 0; i < Jobs; ++i)
        table.Append(MakeJob(program, i));
    const QDateTime now(QDate(2026, 3, 7), QTime(12, 0));

    // Each save replaces the 10,000 job sections that the previous one wrote.
    if (!SaveJobList(table, program)) {
        std::fprintf(stderr, "save failed\n");
        return 1;
    }
    const Timing save = Measure([&] { SaveJobList(table, program); });
    JobTable loaded;
    const Timing load = Measure([&] { LoadJobList(loaded, program, now); });
    if (loaded.Count() != Jobs) {
        std::fprintf(stderr, "loaded %d rows, expected %d\n", loaded.Count(), Jobs);
        return 1;
    }
    std::printf("bench_config: %d jobs, median of %d runs (wall / processor): LoadJobList %.1f / %.1f ms, "
                "SaveJobList %.1f / %.1f ms\n",
                Jobs, Runs, load.wallMs, load.cpuMs, save.wallMs, save.cpuMs);

    QTemporaryDir repeatedDir;
    const QString repeated = repeatedDir.path();
    const Timing repeatedLoad = Measure(
        [&] {
            WriteRepeatedHeaders(repeated);
            LoadJobList(loaded, repeated, now);
        },
        RepeatedRuns);
    const Timing repeatedSave = Measure(
        [&] {
            WriteRepeatedHeaders(repeated);
            SaveJobList(loaded, repeated);
        },
        RepeatedRuns);
    std::printf("bench_config: %d repeated [1] headers (500 KB), median of %d runs (wall / processor): "
                "LoadJobList %.1f / %.1f ms, SaveJobList %.1f / %.1f ms\n",
                RepeatedHeaders, RepeatedRuns, repeatedLoad.wallMs, repeatedLoad.cpuMs, repeatedSave.wallMs,
                repeatedSave.cpuMs);
    return 0;
}
