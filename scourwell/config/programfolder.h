#pragma once

#include <QString>

// The folder that holds ConfigDat.ini, quillon.ini, statdump.tmp and Logs: the folder of
// the executable when it can be written (portable use), otherwise the per-user
// configuration folder. Both programs use this rule, so they share one folder.
QString ResolveProgramFolder(const QString& executableFolder);

QString ConfigDatPath(const QString& programFolder);
QString QuillonIniPath(const QString& programFolder);
QString StatDumpPath(const QString& programFolder);
QString LogsFolder(const QString& programFolder);
