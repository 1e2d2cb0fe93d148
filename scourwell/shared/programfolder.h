// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The folder that holds ConfigDat.ini, quillon.ini, statdump.tmp and Logs: the folder of
// the executable when it can be written (portable use), otherwise the per-user
// configuration folder. Both programs use this rule, so they share one folder.
// An installed program (one that runs from the bin folder it was built to be installed in)
// always uses the configuration folder: root can write /usr/bin, but must not keep its jobs there.
QString ResolveProgramFolder(const QString& executableFolder);
QString ResolveProgramFolder(const QString& executableFolder, const QString& installedBinFolder);

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config (the XDG rule: a relative or
// empty value is ignored).
QString ConfigHome();

// What the build puts beside the executable, and a portable copy carries with it.
inline constexpr char ScourwellProgram[] = "scourwell";
inline constexpr char QuillonProgram[] = "quillon";
inline constexpr char HelpPage[] = "scourwell-help.html";
inline constexpr const char* ShippedBesideProgram[] = {ScourwellProgram, QuillonProgram, HelpPage};

QString ConfigDatPath(const QString& programFolder);
QString QuillonIniPath(const QString& programFolder);
QString StatDumpPath(const QString& programFolder);
QString LogsFolder(const QString& programFolder);
