#pragma once

#include "config/jobrow.h"

#include <QMetaType>
#include <QStringList>

Q_DECLARE_METATYPE(RowIcon)

// The ten texts of a job in the order its section stores them; a test names the ones it
// cares about and takes the others as they are.
struct JobTexts
{
    QString FolderLoc = {};
    QString Status = QStringLiteral("Enabled");
    QString ValPurge = QStringLiteral("30");
    QString ValOfPurge = QStringLiteral("Day");
    QString Style = QStringLiteral("Routine");
    QString FileFolderStyle = QStringLiteral("Files Only");
    QString ValEvery = QStringLiteral("1");
    QString ValOfEvery = QStringLiteral("Hour");
    QString NextRun = {};
    QString Description = {};
};

// The Status word that goes with a row icon.
inline QString StatusOf(RowIcon icon)
{
    return Spelling(icon == RowIcon::Disabled || icon == RowIcon::DisabledPassed ? JobStatus::Disabled
                                                                                 : JobStatus::Enabled);
}

// A row holding texts as a load would read them.
inline JobRow RowOf(const JobTexts& texts, RowIcon icon = RowIcon::Enabled)
{
    JobRow row;
    row.icon = icon;
    row.FolderLoc = texts.FolderLoc;
    row.Status = StoredWord<JobStatus>(texts.Status);
    row.ValPurge = texts.ValPurge;
    row.ValOfPurge = StoredWord<TimeUnit>(texts.ValOfPurge);
    row.Style = StoredWord<ScheduleKind>(texts.Style);
    row.FileFolderStyle = StoredWord<PurgeStyle>(texts.FileFolderStyle);
    row.ValEvery = texts.ValEvery;
    row.ValOfEvery = StoredWord<TimeUnit>(texts.ValOfEvery);
    row.NextRun = texts.NextRun;
    row.Description = texts.Description;
    return row;
}

// The ten texts of row in file order, to compare rows as a save would write them.
inline QStringList TextsOf(const JobRow& row)
{
    return {row.FolderLoc,         row.Status.Text(),     row.ValPurge,
            row.ValOfPurge.Text(), row.Style.Text(),      row.FileFolderStyle.Text(),
            row.ValEvery,          row.ValOfEvery.Text(), row.NextRun,
            row.Description};
}

// A job row with its Status following its icon; the threshold and description are fixed, for
// tests that only care about the schedule.
inline JobRow MakeJob(const QString& folder, RowIcon icon, const QString& style, const QString& valEvery,
                      const QString& valOfEvery, const QString& nextRun,
                      const QString& fileFolderStyle = QStringLiteral("Files Only"))
{
    return RowOf({.FolderLoc = folder,
                  .Status = StatusOf(icon),
                  .Style = style,
                  .FileFolderStyle = fileFolderStyle,
                  .ValEvery = valEvery,
                  .ValOfEvery = valOfEvery,
                  .NextRun = nextRun,
                  .Description = QStringLiteral("old reports")},
                 icon);
}
