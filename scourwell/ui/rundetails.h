// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMessageBox;
class QString;
class frmMain;

// The details of an ended run, asked for from its notification or balloon: the main window
// comes out of the tray and a box over it, modal to nothing, tells them and offers the Log
// Explorer. Returns the box, which deletes itself when closed.
QMessageBox* ShowRunDetails(frmMain& main, const QString& text);
