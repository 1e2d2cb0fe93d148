// SPDX-License-Identifier: GPL-3.0-or-later
#include "schedule/checktimer.h"

#include "config/jobconfig.h"
#include "config/jobtable.h"
#include "config/jobwords.h"
#include "config/runtime.h"
#include "purge/logmod.h"
#include "purge/purgeengine.h"
#include "schedule/schedulemath.h"

namespace {

// A Routine row with a recurrence to move it on by, and a folder that survives the save that
// follows.
bool CanMoveOn(const JobRow& row)
{
    return RecurrenceCount(row.ValEvery) && row.ValOfEvery.Value() && FolderRoundTrips(row.FolderLoc);
}

// A row whose launch would be refused, or a Routine job without a valid recurrence, is kept as
// it stands when due (launching it could not move it on, so it would run on every tick); once
// its minute has passed it is a missed run.
bool IsRunnable(const JobTable& table, int index)
{
    const JobRow& row = table.Row(index);
    return WhyNotLaunched(table, index).isEmpty() && (!row.Style.Is(ScheduleKind::Routine) || CanMoveOn(row));
}

// The values every collector takes from the row as they stand; startedAs, the recurrence and
// runTime are the collector's own.
LaunchValues RowValues(const JobTable& table, int index)
{
    const JobRow& row = table.Row(index);
    return {.folder = row.FolderLoc,
            .status = row.Status.Text(),
            .threshold = row.ValPurge,
            .thresholdUnit = row.ValOfPurge.Text(),
            .startedAs = row.Style.Text(),
            .purgeStyle = row.FileFolderStyle.Text(),
            .recurrenceCount = row.ValEvery,
            .recurrenceUnit = row.ValOfEvery.Text(),
            .runTime = row.NextRun,
            .dateKind = table.LookPurgeBy().Text(),
            .moveToTrash = row.MoveToTrash};
}

// A job that does not recur fills the log's recurrence column with empty marks.
void ClearRecurrence(LaunchValues& values)
{
    values.recurrenceCount = LogNoValue;
    values.recurrenceUnit = LogNoValue;
}

void Launch(const LaunchValues& values, JobLauncher& launcher)
{
    if (!WhyNotLaunched(values).isEmpty())
        return;
    const std::optional<PurgeStyle> style = ParseWord<PurgeStyle>(values.purgeStyle);
    switch (style.value()) {
    case PurgeStyle::FilesOnly:
        launcher.RunNowPurgeFiles(values);
        break;
    case PurgeStyle::IncludeFilesInSubfolders:
        launcher.RunNowPurgeFileSubfolders(values);
        break;
    case PurgeStyle::SubfoldersOnly:
        launcher.RunNowPurgeSubfolders(values);
        break;
    }
}

// The NextRun texts due at now: the present minute's, character for character. When summer
// time begins the clock goes from the minute before straight to the present one; a run time
// among the minutes it skipped (a daily job at 02:30 that night) never comes, so it is due in
// this first minute after them rather than never again.
class DueTest
{
public:
    explicit DueTest(const QDateTime& now)
        : m_present(WallClockTime::Of(now)), m_previous(WallClockTime::Of(CutToMinute(now).addSecs(-60))),
          m_text(FullForm(m_present)), m_afterSkip(m_previous.AddMinutes(1) < m_present)
    {
    }

    bool IsDue(const QString& nextRun) const
    {
        if (nextRun == m_text)
            return true;
        if (!m_afterSkip)
            return false;
        const std::optional<WallClockTime> next = ParseFullForm(nextRun);
        return next && m_previous < *next && *next < m_present;
    }

    // A run time before the present minute that is not due in it: no tick will see it again.
    // One the clock skipped at the start of summer time is due now, not missed.
    bool IsMissed(const QString& nextRun) const
    {
        const std::optional<WallClockTime> next = ParseFullForm(nextRun);
        return next && *next < m_present && !IsDue(nextRun);
    }

private:
    WallClockTime m_present;
    WallClockTime m_previous;
    QString m_text;
    bool m_afterSkip;
};

void EnsureWeekLog(const QString& programFolder, const QDateTime& now)
{
    if (!LogFileExists(programFolder, now))
        WriteLogHeader(programFolder, now);
}

// A row whose next run passed unseen. Only Routine jobs with a recurrence are run or moved on,
// and only enabled ones are run; the others show as passed, as a load would show them. The
// move-on keeps Status as it is written.
void HandleMissed(JobTable& table, int index, const QDateTime& now, JobLauncher& launcher,
                  const QString& programFolder, MissedRun missedRun, TickOutcome& outcome)
{
    const JobRow& row = table.Row(index);
    const bool enabled = row.icon == RowIcon::Enabled || row.icon == RowIcon::EnabledPassed;
    if (!enabled && row.icon != RowIcon::Disabled && row.icon != RowIcon::DisabledPassed)
        return;
    if (missedRun == MissedRun::Wait || !row.Style.Is(ScheduleKind::Routine) || !CanMoveOn(row)) {
        const RowIcon passed = enabled ? RowIcon::EnabledPassed : RowIcon::DisabledPassed;
        if (row.icon != passed)
            table.SetIcon(index, passed);
        return;
    }
    const bool run = enabled && missedRun == MissedRun::RunOnce && IsRunnable(table, index);
    if (run) {
        EnsureWeekLog(programFolder, now);
        CollectCheck(table, index, launcher);
    }
    const quint64 id = row.id;
    const QString folder = row.FolderLoc;
    const QString missed = row.NextRun;
    table.SetIcon(index, enabled ? RowIcon::Enabled : RowIcon::Disabled);
    MoveOn(table, index, now);
    outcome.saveNeeded = true;
    if (!run)
        outcome.movedOn.push_back({folder, missed, table.Row(table.IndexOf(id)).NextRun});
}

} // namespace

void CollectCheck(const JobTable& table, int index, JobLauncher& launcher)
{
    Launch(RowValues(table, index), launcher);
}

void CollectCheckSpecific(const JobTable& table, int index, JobLauncher& launcher)
{
    LaunchValues values = RowValues(table, index);
    ClearRecurrence(values);
    Launch(values, launcher);
}

void CollectCheckManually(const JobTable& table, int index, const QDateTime& now, JobLauncher& launcher)
{
    LaunchValues values = RowValues(table, index);
    values.startedAs = QStringLiteral("Manual");
    if (table.Row(index).Style.Is(ScheduleKind::Specific))
        ClearRecurrence(values);
    values.runTime = FullForm(now);
    Launch(values, launcher);
}

QString WhyNotLaunched(const LaunchValues& values)
{
    if (!ParseWord<PurgeStyle>(values.purgeStyle))
        return QStringLiteral("The purge style \"%1\" is not one Scourwell knows.").arg(values.purgeStyle);
    if (!FolderRoundTrips(values.folder))
        return QStringLiteral("The folder name cannot be kept in the job file as it is.");
    if (!ParseWord<JobStatus>(values.status))
        return QStringLiteral("The status \"%1\" is neither \"Enabled\" nor \"Disabled\".")
            .arg(values.status);
    if (!PurgeThreshold(values.threshold))
        return QStringLiteral("The age threshold \"%1\" is not a whole number of 0 or more.")
            .arg(values.threshold);
    if (!ParseWord<TimeUnit>(values.thresholdUnit))
        return QStringLiteral("The age unit \"%1\" is not Minute, Hour, Day or Month.")
            .arg(values.thresholdUnit);
    if (!ParseWord<DateKind>(values.dateKind))
        return QStringLiteral("The date to purge by, \"%1\", is not one Scourwell knows.")
            .arg(values.dateKind);
    return {};
}

QString WhyNotLaunched(const JobTable& table, int index)
{
    return WhyNotLaunched(RowValues(table, index));
}

TickOutcome CheckJobs(JobTable& table, const QDateTime& now, JobLauncher& launcher,
                      const QString& programFolder, MissedRun missedRun)
{
    TickOutcome outcome;
    if (table.IsEmpty())
        return outcome;
    const DueTest due(now);
    // The rows are taken by identity first: a row that moves on takes another place in a
    // sorted table, and a removed row's place is taken by the next.
    std::vector<quint64> dueIds;
    std::vector<quint64> missedIds;
    for (int i = 0; i < table.Count(); ++i) {
        const JobRow& row = table.Row(i);
        if (due.IsDue(row.NextRun))
            dueIds.push_back(row.id);
        else if (due.IsMissed(row.NextRun))
            missedIds.push_back(row.id);
    }
    for (const quint64 id : dueIds) {
        const int i = table.IndexOf(id);
        if (i < 0)
            continue;
        const JobRow& row = table.Row(i);
        const bool routine = row.Style.Is(ScheduleKind::Routine);
        const bool specific = row.Style.Is(ScheduleKind::Specific);
        if (row.icon == RowIcon::Enabled && !IsRunnable(table, i))
            continue;
        if (row.icon == RowIcon::Enabled && routine) {
            EnsureWeekLog(programFolder, now);
            CollectCheck(table, i, launcher);
            MoveOn(table, i, now);
            outcome.saveNeeded = true;
        } else if (row.icon == RowIcon::Enabled && specific) {
            EnsureWeekLog(programFolder, now);
            CollectCheckSpecific(table, i, launcher);
            outcome.saveNeeded = true;
            if (table.DeleteSpecific().trimmed().toInt() == 1)
                table.Remove(i);
            else
                // Passed once its run is over; a window may show it running until then.
                table.SetIconAfterRun(i, RowIcon::EnabledPassed);
        } else if (row.icon == RowIcon::Disabled && routine && CanMoveOn(row)) {
            MoveOn(table, i, now);
            outcome.saveNeeded = true;
        }
    }
    for (const quint64 id : missedIds) {
        if (const int i = table.IndexOf(id); i >= 0)
            HandleMissed(table, i, now, launcher, programFolder, missedRun, outcome);
    }
    return outcome;
}

bool TimerCheckJobTick(JobTable& table, const QDateTime& now, JobLauncher& launcher,
                       const QString& programFolder)
{
    const TickOutcome outcome = CheckJobs(table, now, launcher, programFolder, table.MissedRunChoice());
    return outcome.saveNeeded && SaveJobList(table, programFolder);
}
