// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/purgerun.h"

#include "purge/logmod.h"
#include "purge/runrecord.h"
#include "purge/stringhandling.h"
#include "purge/threadid.h"
#include "shared/clock.h"
#include "shared/programfolder.h"

PurgeRun::PurgeRun(PurgeStyle style, LaunchValues values, QString programFolder, QStringList protectedPaths,
                   const Clock& clock, QObject* parent)
    : QObject(parent), m_style(style), m_values(std::move(values)), m_programFolder(std::move(programFolder)),
      m_protectedPaths(std::move(protectedPaths)), m_clock(clock)
{
    std::promise<quint64> id;
    std::future<quint64> idKnown = id.get_future();
    m_worker = std::thread([this, id = std::move(id), go = m_go.get_future()]() mutable {
        id.set_value(CurrentThreadNumber());
        StartPurge(std::move(go));
    });
    m_threadId = idKnown.get();
}

PurgeRun::~PurgeRun()
{
    RequestStop();
    if (!m_begun)
        m_go.set_value(false);
    if (m_worker.joinable())
        m_worker.join();
}

void PurgeRun::Begin()
{
    if (m_begun)
        return;
    m_begun = true;
    m_go.set_value(true);
}

void PurgeRun::Wait()
{
    if (m_begun && m_worker.joinable())
        m_worker.join();
}

void PurgeRun::RemoveMarker() const
{
    RemoveTextFromFile(StatDumpPath(m_programFolder), m_values.folder);
}

void PurgeRun::StartPurge(std::future<bool> go)
{
    if (!go.get())
        return;

    AddTextToFile(StatDumpPath(m_programFolder), m_values.folder);
    // Launch values that name no threshold, unit or date kind delete nothing.
    PurgeResult result{.count = 0, .outcome = PurgeOutcome::NotOpened};
    if (std::optional<PurgeRequest> request = PurgeRequestOf(m_style, m_values.folder, m_values.threshold,
                                                             m_values.thresholdUnit, m_values.dateKind)) {
        request->protectedPaths = m_protectedPaths;
        request->removal = m_values.moveToTrash ? Removal::MoveToTrash : Removal::Delete;
        const QDateTime start = m_clock.Now();
        PruneRunRecords(m_programFolder, start);
        RunRecordWriter record(m_programFolder, m_values.folder, m_values.purgeStyle, request->removal,
                               start);
        result = RunSchedule(
            *request, m_clock, m_stop, {}, m_itemHook,
            [this](const ItemDecision& decision) { m_progress.Note(decision); },
            [&record](const RemovedItem& item) { record.Add(item); });
        record.Finish(result);
        m_recordFile = record.File();
    }
    m_bytes = result.bytes;
    m_sizesKnown = result.sizesKnown;
    AfterRunSchedule(result.count, result.outcome);
}

void PurgeRun::AfterRunSchedule(qint64 count, PurgeOutcome outcome)
{
    // A row that cannot be written (Logs full or read-only) is lost; the marker still goes.
    WriteLogRow(m_programFolder, m_clock.Now(), LogCells(count, outcome));
    RemoveMarker();

    m_count = count;
    m_finished = true;
    QMetaObject::invokeMethod(
        this, [this, count] { Q_EMIT Finished(count); }, Qt::QueuedConnection);
}

std::array<LogCell, 10> PurgeRun::LogCells(qint64 count, PurgeOutcome outcome) const
{
    // A stopped run says so beside its count, so that its row is not read as a whole run's.
    const QString number = QString::number(count) +
                           (outcome == PurgeOutcome::Stopped ? QLatin1String(" (stopped)") : QLatin1String());
    const bool subfolders = m_style == PurgeStyle::SubfoldersOnly;
    return {LogCell{m_values.folder},
            LogCell{m_values.status},
            LogCell{m_values.threshold, m_values.thresholdUnit},
            LogCell{m_values.startedAs},
            LogCell{m_values.purgeStyle},
            LogCell{m_values.recurrenceCount, m_values.recurrenceUnit},
            LogCell{m_values.runTime},
            LogCell{m_values.dateKind},
            LogCell{subfolders ? LogNoValue : number},
            LogCell{subfolders ? number : LogNoValue}};
}
