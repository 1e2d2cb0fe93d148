#pragma once

#include <QString>

// Running markers "<folder>" in statdump.tmp. Every read-modify-write holds SharedFileLock.
bool AddTextToFile(const QString& filePath, const QString& text);
bool RemoveTextFromFile(const QString& filePath, const QString& text);
// True when the file holds text, or when it cannot be read.
bool IsTextInFile(const QString& filePath, const QString& text);
// statdump.tmp holds exactly 00 0D 0A afterwards.
bool ResetStatusDump(const QString& programFolder);
