// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "purge/launchvalues.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

// One launch: the launcher's method by its style ("Files", "FileSubfolders", "Subfolders") and
// the values it was given.
struct Launch
{
    QString method;
    LaunchValues values;
};

// Records what is launched instead of running it; onLaunch runs once, inside the next launch
// (for a test that changes something between a tick's decisions and its save).
class RecordingLauncher : public JobLauncher
{
public:
    void RunNowPurgeFiles(const LaunchValues& values) override { Record(QStringLiteral("Files"), values); }
    void RunNowPurgeFileSubfolders(const LaunchValues& values) override
    {
        Record(QStringLiteral("FileSubfolders"), values);
    }
    void RunNowPurgeSubfolders(const LaunchValues& values) override
    {
        Record(QStringLiteral("Subfolders"), values);
    }

    void Clear()
    {
        launches.clear();
        folders.clear();
    }

    std::vector<Launch> launches;
    // The folders launched, in order.
    QStringList folders;
    std::function<void()> onLaunch;

private:
    void Record(const QString& method, const LaunchValues& values)
    {
        launches.push_back({method, values});
        folders << values.folder;
        if (onLaunch)
            std::exchange(onLaunch, {})();
    }
};
