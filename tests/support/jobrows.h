// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/jobrow.h"
#include "config/jobtable.h"
#include "support/jobsfile.h"

#include <QMetaType>
#include <QStringList>

Q_DECLARE_METATYPE(RowIcon)

// The Status word that goes with a row icon.
inline QString StatusOf(RowIcon icon)
{
    return Spelling(icon == RowIcon::Disabled || icon == RowIcon::DisabledPassed ? JobStatus::Disabled
                                                                                 : JobStatus::Enabled);
}

// A row holding the job as a load would read it.
inline JobRow RowOf(const StoredJob& job, RowIcon icon = RowIcon::Enabled)
{
    JobRow row;
    row.icon = icon;
    row.FolderLoc = job.folder;
    row.Status = StoredWord<JobStatus>(job.status);
    row.ValPurge = job.valPurge;
    row.ValOfPurge = StoredWord<TimeUnit>(job.valOfPurge);
    row.Style = StoredWord<ScheduleKind>(job.style);
    row.FileFolderStyle = StoredWord<PurgeStyle>(job.fileFolderStyle);
    row.ValEvery = job.valEvery;
    row.ValOfEvery = StoredWord<TimeUnit>(job.valOfEvery);
    row.NextRun = job.nextRun;
    row.Description = job.description;
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
    return RowOf({.folder = folder,
                  .nextRun = nextRun,
                  .status = StatusOf(icon),
                  .style = style,
                  .fileFolderStyle = fileFolderStyle,
                  .valEvery = valEvery,
                  .valOfEvery = valOfEvery,
                  .description = QStringLiteral("old reports")},
                 icon);
}

// The folders of the table's rows, in order.
inline QStringList FoldersOf(const JobTable& table)
{
    QStringList folders;
    for (const JobRow& row : table.Rows())
        folders << row.FolderLoc;
    return folders;
}
