// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/jobwords.h"

#include <QString>
#include <optional>

// Row icons of the job list, numbered as the list's image list holds them; only rows showing
// Enabled are launched by the check timer.
enum class RowIcon
{
    Enabled = 1,
    Disabled = 2,
    EnabledPassed = 3,
    DisabledPassed = 4,
    FolderMissing = 5,
    Running = 6
};

// What a row icon says, in words for those who do not see it: its tool tip and what a screen
// reader reads.
QString RowIconWords(RowIcon icon);

// One job as the list holds it: the ten fields of its section in ConfigDat.ini, with the
// stored words kept as written, the settings stored after them, and the icon it shows. The
// stable id is given by JobTable and never reused.
struct JobRow
{
    quint64 id = 0;
    RowIcon icon = RowIcon::Enabled;
    // The icon the row gets back when the run it shows running is over; not saved.
    std::optional<RowIcon> savedIcon;

    QString FolderLoc;
    StoredWord<JobStatus> Status;
    QString ValPurge;
    StoredWord<TimeUnit> ValOfPurge;
    StoredWord<ScheduleKind> Style;
    StoredWord<PurgeStyle> FileFolderStyle;
    // For a Specific job a single blank when set by the editor, empty after a load.
    QString ValEvery;
    StoredWord<TimeUnit> ValOfEvery;
    // Exactly as stored in the file.
    QString NextRun;
    QString Description;
    // Its runs move what goes to the trash instead of deleting it (MoveToTrash=1, written only
    // when set).
    bool MoveToTrash = false;

    bool operator==(const JobRow&) const = default;
};

// The list has seven columns, 1..7: FolderLoc, ValPurge, ValOfPurge, Style, ValEvery,
// ValOfEvery, NextRun.
constexpr int JobColumnCount = 7;
// The text that column shows of row, which is also what sorting by it compares.
const QString& JobColumnText(const JobRow& row, int column);
