// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/jobeditorflow.h"

#include "config/jobtable.h"
#include "schedule/jobedit.h"
#include "shared/clock.h"
#include "ui/frmprops.h"
#include "ui/windowmodal.h"

void mnuAdd_Click(JobTable& table, QWidget* parent, const Clock& clock, const QStringList& protectedPaths)
{
    frmProps dialog(table, clock, protectedPaths, parent);
    dialog.setWindowTitle(QStringLiteral("Add New Purge Job"));
    dialog.SetMode(frmProps::Mode::AddNew);
    if (ExecWindowModal(dialog) != QDialog::Accepted)
        return;
    WriteNewJob(table, dialog.Values(), clock.Now());
}

void mnuEdit_Click(JobTable& table, QWidget* parent, const Clock& clock, const QStringList& protectedPaths,
                   quint64 selectedId)
{
    const int index = table.IndexOf(selectedId);
    if (index < 0)
        return;
    frmProps dialog(table, clock, protectedPaths, parent);
    dialog.SetMode(frmProps::Mode::EditCurrent);
    dialog.setWindowTitle(QStringLiteral("Edit Selected Purge Job"));
    dialog.FillFromRow(table.Row(index));
    if (ExecWindowModal(dialog) != QDialog::Accepted)
        return;
    // The check timer may have retired or removed the row while the dialog was open.
    if (!WriteEditedJob(table, dialog.EditedId(), dialog.Values(), clock.Now()))
        MessageWindowModal(
            parent, QMessageBox::Warning, QStringLiteral("Edit Selected Purge Job"),
            QStringLiteral("The job being edited was removed from the list while the editor was "
                           "open (a specific job that has run), so your changes were not applied.  "),
            QMessageBox::Ok);
}
