#pragma once

#include <QString>
#include <array>

// The ten texts that travel from a collector to an executor, key1..key10 at [0]..[9]:
// folder, status, threshold, threshold unit, how started ("Routine", "Specific", "Manual"),
// purge style, recurrence count, recurrence unit, run time, date kind.
using LaunchValues = std::array<QString, 10>;

// Starts one run per call; each returns once the run (and its window, where there is one)
// has been set up, without waiting for the purge.
class JobLauncher
{
public:
    virtual ~JobLauncher() = default;
    virtual void RunNowPurgeFiles(const LaunchValues& values) = 0;
    virtual void RunNowPurgeFileSubfolders(const LaunchValues& values) = 0;
    virtual void RunNowPurgeSubfolders(const LaunchValues& values) = 0;
};
