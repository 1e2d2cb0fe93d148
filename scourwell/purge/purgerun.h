// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "purge/launchvalues.h"
#include "purge/logmod.h"
#include "purge/purgeengine.h"
#include "purge/runprogress.h"

#include <QObject>
#include <QStringList>
#include <atomic>
#include <functional>
#include <future>
#include <optional>
#include <thread>

class Clock;

// One executor run on a worker thread of its own. The worker is created with the run and
// waits until Begin(), so that a window can show the labels and the worker's id first. Then
// it adds its running marker, purges (recording each item removed, see RunRecordWriter), writes
// its week-log row and removes its marker, and
// Finished is emitted on the thread that owns the object. Nothing of it ends the program.
class PurgeRun : public QObject
{
    Q_OBJECT

public:
    // The style is the launcher's, not the values' purgeStyle.
    PurgeRun(PurgeStyle style, LaunchValues values, QString programFolder, QStringList protectedPaths,
             const Clock& clock, QObject* parent = nullptr);
    // Stops the run at its next item and waits until its end-of-run steps are done.
    ~PurgeRun() override;

    PurgeRun(const PurgeRun&) = delete;
    PurgeRun& operator=(const PurgeRun&) = delete;

    PurgeStyle Style() const { return m_style; }
    const LaunchValues& Values() const { return m_values; }
    // The worker thread's id, for the window's Thread label.
    quint64 ThreadId() const { return m_threadId; }

    // Heard on the worker before each item of the purge (see RunSchedule); set before Begin().
    void SetItemHook(std::function<void()> hook) { m_itemHook = std::move(hook); }
    // Lets the worker go; once only.
    void Begin();
    // The run ends before its next item and still writes its row with what it deleted.
    void RequestStop() { m_stop = true; }
    bool IsStopRequested() const { return m_stop; }
    // True once the end-of-run steps are done (any thread may ask).
    bool IsFinished() const { return m_finished; }
    // The deletion count; final once IsFinished().
    qint64 Count() const { return m_count; }
    // The bytes deleted, or nothing when a folder went whose size was not read (see
    // PurgeResult::sizesKnown); final once IsFinished().
    std::optional<qint64> Bytes() const
    {
        return m_sizesKnown ? std::optional<qint64>(m_bytes) : std::nullopt;
    }
    // The record of what the run removed (RunRecordWriter); empty when it wrote none. Final
    // once IsFinished().
    const QString& RecordFile() const { return m_recordFile; }
    // So far; any thread may ask while the run goes on.
    RunProgress Progress() const { return m_progress.Snapshot(); }
    // Blocks until the worker has ended (Begin() must have been called).
    void Wait();
    // Removes the running marker again, as the executor window's unload does.
    void RemoveMarker() const;

Q_SIGNALS:
    // Emitted on the owner's thread once the run has ended.
    void Finished(qint64 count);

private:
    // On the worker once go says so: the marker, the purge, then AfterRunSchedule.
    void StartPurge(std::future<bool> go);
    // The end-of-run steps: the week log row with count (and whether the run was stopped),
    // the marker removed, Finished.
    void AfterRunSchedule(qint64 count, PurgeOutcome outcome);
    std::array<LogCell, 10> LogCells(qint64 count, PurgeOutcome outcome) const;

    const PurgeStyle m_style;
    const LaunchValues m_values;
    const QString m_programFolder;
    const QStringList m_protectedPaths;
    const Clock& m_clock;
    std::function<void()> m_itemHook;

    std::atomic_bool m_stop = false;
    std::atomic_bool m_finished = false;
    std::atomic<qint64> m_count = 0;
    std::atomic<qint64> m_bytes = 0;
    std::atomic<bool> m_sizesKnown = true;
    QString m_recordFile; // set by the worker before m_finished
    ProgressCounter m_progress;
    quint64 m_threadId = 0;
    std::promise<bool> m_go;
    bool m_begun = false;
    std::thread m_worker;
};
