// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>

class QDialog;

// Dialogs and questions block their parent window only, never the whole program: the
// executor windows have no owner, so their Stop stays usable while one is open.
int ExecWindowModal(QDialog& dialog);

// A message box over parent, modal to it only; returns the button that answered it.
QMessageBox::StandardButton
MessageWindowModal(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                   QMessageBox::StandardButtons buttons,
                   QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
