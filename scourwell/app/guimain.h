// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Scourwell with its windows: splash, init window, main window and tray, until File > Exit.
// Creates its own QApplication; argc and argv are main()'s.
int RunGui(int& argc, char** argv);
