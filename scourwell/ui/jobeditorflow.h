// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class Clock;
class JobTable;
class QWidget;

// Add New Job (also New and the toolbar's "New"): the job properties dialog in add mode,
// modal over parent; Ok appends the job to the table. protectedPaths: the program's own files,
// which the editor's preview leaves out.
void mnuAdd_Click(JobTable& table, QWidget* parent, const Clock& clock, const QStringList& protectedPaths);

// Edit Selected Job: the dialog filled from the row with selectedId (0: no row selected,
// which does nothing, as does an empty table). Ok writes into that row wherever it has
// moved meanwhile; when it has left the table the user is told and nothing is written.
void mnuEdit_Click(JobTable& table, QWidget* parent, const Clock& clock, const QStringList& protectedPaths,
                   quint64 selectedId);
