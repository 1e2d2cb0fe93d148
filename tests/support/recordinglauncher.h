#pragma once

#include "purge/launchvalues.h"

#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

// Records what is launched instead of running it; onLaunch runs once, inside the next launch
// (for a test that changes something between a tick's decisions and its save).
class RecordingLauncher : public JobLauncher
{
public:
    void RunNowPurgeFiles(const LaunchValues& values) override { Record(values); }
    void RunNowPurgeFileSubfolders(const LaunchValues& values) override { Record(values); }
    void RunNowPurgeSubfolders(const LaunchValues& values) override { Record(values); }

    std::vector<LaunchValues> launched;
    // The folders launched, in order.
    QStringList folders;
    std::function<void()> onLaunch;

private:
    void Record(const LaunchValues& values)
    {
        launched.push_back(values);
        folders << values.folder;
        if (onLaunch)
            std::exchange(onLaunch, {})();
    }
};
