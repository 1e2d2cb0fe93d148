#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The running marker "<folder>" of statdump.tmp, as the bytes the folder text stands for.
QByteArray RunningMarker(const QString& folder);

// Running markers "<folder>" in statdump.tmp. Every access holds SharedFileLock, so markers of
// concurrent runs are never lost. Bytes are compared exactly (case counts). A file that has
// gone missing is written anew with the markers added in this process and not yet removed.
bool AddTextToFile(const QString& filePath, const QString& text);
// Removes every "<text>"; a file without it is not touched, nor is one that cannot be read.
bool RemoveTextFromFile(const QString& filePath, const QString& text);
// True when the file holds text, or when it cannot be read.
bool IsTextInFile(const QString& filePath, const QString& text);
// The whole file, or nullopt when it cannot be opened or read.
std::optional<QByteArray> ReadStatusFile(const QString& filePath);
// statdump.tmp holds exactly 00 0D 0A afterwards.
bool ResetStatusDump(const QString& programFolder);
// A missing status file is created as 00 0D 0A and the markers of the runs still under way
// in this process; one that exists is left alone. False when nothing was written.
bool HealStatusDump(const QString& filePath);
