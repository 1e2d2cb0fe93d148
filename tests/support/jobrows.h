#pragma once

#include "config/jobrow.h"

// A job row as the list holds it; the threshold and description are fixed, for tests that
// only care about the schedule.
inline JobRow MakeJob(const QString& folder, int icon, const QString& style, const QString& valEvery,
                      const QString& valOfEvery, const QString& nextRun,
                      const QString& fileFolderStyle = QStringLiteral("Files Only"))
{
    JobRow row;
    row.icon = icon;
    row.SetFolderLoc(folder);
    row.SetStatus(icon == RowIcon::Disabled || icon == RowIcon::DisabledPassed ? QStringLiteral("Disabled")
                                                                               : QStringLiteral("Enabled"));
    row.SubItem(1) = {QStringLiteral("30"), QString()};
    row.SubItem(2) = {QStringLiteral("Day"), QStringLiteral("old reports")};
    row.SubItem(3) = {style, fileFolderStyle};
    row.SubItem(4).text = valEvery;
    row.SubItem(5).text = valOfEvery;
    row.SetNextRun(nextRun);
    return row;
}
