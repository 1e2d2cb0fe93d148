#include "schedule/checktimer.h"

#include "config/jobconfig.h"
#include "config/jobtable.h"
#include "purge/logmod.h"
#include "purge/purgeengine.h"
#include "schedule/runtime.h"
#include "schedule/schedulemath.h"

namespace {

bool IsRoutine(const QString& style)
{
    return style.compare(QLatin1String("routine"), Qt::CaseInsensitive) == 0;
}

bool IsSpecific(const QString& style)
{
    return style.compare(QLatin1String("specific"), Qt::CaseInsensitive) == 0;
}

// A hand-edited row with an unknown purge style, or a Routine job without a valid recurrence,
// is kept as it stands: launching it could not move it on, so it would run on every tick. Nor
// is a row whose folder would not survive the save launched or moved on.
bool IsRunnable(const JobRow& row)
{
    if (!PurgeStyleFromText(row.FileFolderStyle()) || !FolderRoundTrips(row.FolderLoc()))
        return false;
    return !IsRoutine(row.Style()) || (RecurrenceCount(row.ValEvery()) && IsScheduleUnit(row.ValOfEvery()));
}

// The values every collector takes from the row as they stand; key5, key7, key8 and key9
// are the collector's own.
LaunchValues RowValues(const JobTable& table, int index)
{
    const JobRow& row = table.Row(index);
    LaunchValues values;
    values[0] = row.FolderLoc();
    values[1] = row.Status();
    values[2] = row.ValPurge();
    values[3] = row.ValOfPurge();
    values[4] = row.Style();
    values[5] = row.FileFolderStyle();
    values[6] = row.ValEvery();
    values[7] = row.ValOfEvery();
    values[8] = row.NextRun();
    values[9] = table.LookPurgeBy();
    return values;
}

void Launch(const LaunchValues& values, JobLauncher& launcher)
{
    const std::optional<PurgeStyle> style = PurgeStyleFromText(values[5]);
    if (!style || !FolderRoundTrips(values[0]))
        return;
    switch (*style) {
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
        : m_present(PresentMinute(now)), m_previous(WallClock(CutToMinute(now).addSecs(-60))),
          m_text(FullForm(m_present)), m_afterSkip(m_previous.addSecs(60) < m_present)
    {
    }

    bool IsDue(const QString& nextRun) const
    {
        if (nextRun == m_text)
            return true;
        if (!m_afterSkip)
            return false;
        const std::optional<QDateTime> next = ParseWallClock(nextRun);
        return next && m_previous < *next && *next < m_present;
    }

private:
    QDateTime m_present;
    QDateTime m_previous;
    QString m_text;
    bool m_afterSkip;
};

void EnsureWeekLog(const QString& programFolder, const QDateTime& now)
{
    if (!LogFileExists(programFolder, now))
        WriteLogHeader(programFolder, now);
}

} // namespace

void CollectCheck(const JobTable& table, int index, JobLauncher& launcher)
{
    Launch(RowValues(table, index), launcher);
}

void CollectCheckSpecific(const JobTable& table, int index, JobLauncher& launcher)
{
    LaunchValues values = RowValues(table, index);
    values[6] = LogNoValue;
    values[7] = LogNoValue;
    Launch(values, launcher);
}

void CollectCheckManually(const JobTable& table, int index, const QDateTime& now, JobLauncher& launcher)
{
    LaunchValues values = RowValues(table, index);
    values[4] = QStringLiteral("Manual");
    if (IsSpecific(table.Row(index).Style())) {
        values[6] = LogNoValue;
        values[7] = LogNoValue;
    }
    values[8] = FullForm(now);
    Launch(values, launcher);
}

bool TimerCheckJobTick(JobTable& table, const QDateTime& now, JobLauncher& launcher,
                       const QString& programFolder)
{
    if (table.IsEmpty())
        return false;
    const DueTest due(now);
    bool saveNeeded = false;
    // The due rows are taken by identity first: a row that moves on takes another place in a
    // sorted table, and a removed row's place is taken by the next.
    std::vector<quint64> dueIds;
    for (const JobRow& row : table.Rows()) {
        if (due.IsDue(row.NextRun()) && IsRunnable(row))
            dueIds.push_back(row.id);
    }
    for (const quint64 id : dueIds) {
        const int i = table.IndexOf(id);
        if (i < 0)
            continue;
        const JobRow& row = table.Row(i);
        const bool routine = IsRoutine(row.Style());
        const bool specific = IsSpecific(row.Style());
        if (row.icon == RowIcon::Enabled && routine) {
            EnsureWeekLog(programFolder, now);
            CollectCheck(table, i, launcher);
            MoveOn(table, i, now);
            saveNeeded = true;
        } else if (row.icon == RowIcon::Enabled && specific) {
            EnsureWeekLog(programFolder, now);
            CollectCheckSpecific(table, i, launcher);
            saveNeeded = true;
            if (table.DeleteSpecific().trimmed().toInt() == 1)
                table.Remove(i);
            else
                table.SetIcon(i, RowIcon::EnabledPassed);
        } else if (row.icon == RowIcon::Disabled && routine) {
            MoveOn(table, i, now);
            saveNeeded = true;
        }
    }
    return saveNeeded && SaveJobList(table, programFolder);
}
