// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The running marker "<folder>" of statdump.tmp, as the bytes the folder text stands for.
QByteArray RunningMarker(const QString& folder);

// Running markers "<folder>" in statdump.tmp. Every access holds SharedFileLock, so markers of
// concurrent runs are never lost. Bytes are compared exactly (case counts). This process keeps
// its own list of the markers it added and has not removed; a file that has gone missing is
// written anew from it.
bool AddTextToFile(const QString& filePath, const QString& text);
// Takes one "<text>" off this process's list (a second run on the same folder keeps its
// own) and writes the file anew as 00 0D 0A and the markers still on the list, never by
// cutting text out of it: a folder name holding '>' cannot eat into another marker. An
// existing file that cannot be replaced is left alone.
bool RemoveTextFromFile(const QString& filePath, const QString& text);
// True when the file holds text, or when it cannot be read.
bool IsTextInFile(const QString& filePath, const QString& text);
// statdump.tmp holds exactly 00 0D 0A afterwards.
bool ResetStatusDump(const QString& programFolder);
// A missing status file is created as 00 0D 0A and the markers of the runs still under way
// in this process; one that exists is left alone. False when nothing was written.
bool HealStatusDump(const QString& filePath);

// What the status file says runs, read once.
class RunningMarkers
{
public:
    RunningMarkers(QByteArray content, std::optional<QList<QByteArray>> own);
    // Whether a run on this marker's folder is under way. When the file holds exactly what
    // this process wrote, its markers are known one by one, so "</b>" is not taken for part
    // of "</b>c>"; a file written by anything else is searched for the marker's text.
    bool Has(const QByteArray& marker) const;

private:
    QByteArray m_content;
    std::optional<QList<QByteArray>> m_own;
};
// nullopt when the file cannot be opened or read.
std::optional<RunningMarkers> ReadRunningMarkers(const QString& filePath);
