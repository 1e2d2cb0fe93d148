// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobrow.h"

const QString& JobColumnText(const JobRow& row, int column)
{
    switch (column) {
    case 2:
        return row.ValPurge;
    case 3:
        return row.ValOfPurge.Text();
    case 4:
        return row.Style.Text();
    case 5:
        return row.ValEvery;
    case 6:
        return row.ValOfEvery.Text();
    case 7:
        return row.NextRun;
    default:
        return row.FolderLoc;
    }
}

QString RowIconWords(RowIcon icon)
{
    switch (icon) {
    case RowIcon::Enabled:
        return QStringLiteral("Enabled");
    case RowIcon::Disabled:
        return QStringLiteral("Disabled");
    case RowIcon::EnabledPassed:
        return QStringLiteral("Enabled, next run passed");
    case RowIcon::DisabledPassed:
        return QStringLiteral("Disabled, next run passed");
    case RowIcon::FolderMissing:
        return QStringLiteral("Folder not found");
    case RowIcon::Running:
        return QStringLiteral("Running");
    }
    return {};
}
