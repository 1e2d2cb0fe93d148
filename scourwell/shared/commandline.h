// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <optional>

class QTextStream;

// What a program of ours says about itself on the command line.
struct ProgramHelp
{
    const char* name;  // "scourwell"
    const char* usage; // the text --help prints
    // Scourwell keeps the plain words of its command line ("/systray ..."); Quillon has none.
    bool plainArgumentsAllowed;
};

// Answers --help, -h and --version on out, and an unknown switch on err, before any window
// is made, so they work without a display. Qt's own options (-platform, -style...) and their
// values are let through for QApplication, which takes them out of the command line itself.
// Returns the exit status when the command line was answered, nothing when the program runs.
std::optional<int> AnswerCommandLine(const QStringList& arguments, const ProgramHelp& help, QTextStream& out,
                                     QTextStream& err);
// The same on main()'s arguments, with stdout and stderr.
std::optional<int> AnswerCommandLine(int argc, char** argv, const ProgramHelp& help);
