#pragma once

#include "shared/clock.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>

enum class PurgeStyle
{
    FilesOnly,
    IncludeFilesInSubfolders,
    SubfoldersOnly
};

// "Files Only", "Include Files in Subfolders", "Subfolders Only" in any letter case.
std::optional<PurgeStyle> PurgeStyleFromText(const QString& text);

struct PurgeRequest
{
    PurgeStyle style = PurgeStyle::FilesOnly;
    QString folder;     // sPath
    QString lookByDate; // "Date: Created" / "Date: Last Modified" / "Date: Last Accessed"
    QString purgeVal;   // threshold N as text
    QString purgeValOf; // "Minute" / "Hour" / "Day" / "Month"
    // Never deleted nor descended into: the program folder, its files and the programs.
    QStringList protectedPaths;
    bool dryRun = false;
};

// The program's own files, which no purge may delete: the program folder, its ConfigDat.ini,
// quillon.ini, statdump.tmp and Logs, and what is shipped beside the program, in the program
// and executable folders.
QStringList ProtectedPaths(const QString& programFolder, const QString& executableFolder);

// Whether folder is the file-system root (also through a link), which no job may purge.
bool IsFileSystemRoot(const QString& folder);

// "Date: Created", "Date: Last Modified", "Date: Last Accessed" in any letter case.
bool IsPurgeDateKind(const QString& text);
// ValPurge read as a threshold: a whole number of 0 or more, else nullopt.
std::optional<qint64> PurgeThreshold(const QString& valPurge);

// Whole units of unit from itemDate to now, both as local wall-clock times cut to the minute
// (so a summer-time change adds or takes no hour); 0 for an unknown unit.
qint64 GetObjectAge(const QDateTime& itemDate, const QString& unit, const QDateTime& now);
void GetValue(qint64 dhn, qint64& dayIs, qint64& hourIs, qint64& minIs);

enum class PurgeOutcome
{
    Complete,
    Stopped,  // stop was set: the items after it are left
    NotOpened // the folder could not be opened or was refused, or the request is none to run
};

struct PurgeResult
{
    qint64 count = 0; // deleted (in a dry run, that would be)
    PurgeOutcome outcome = PurgeOutcome::NotOpened;
};

// Runs one purge; returns the count deleted and how the run ended. stop is checked before
// each item, also each item inside a subfolder being removed (a subfolder left partly removed
// is not counted); onItem is heard just before each such check, on the purging thread.
// onDeleted hears each path deleted (or, in a dry run, that would be), as the file system's
// bytes (QFile::decodeName for display; copy it to keep it). A folder that cannot be opened,
// the file-system root, an unknown date kind or a threshold that is no whole number deletes
// nothing. Reads the local zone's rules once, at the start. Safe to run from several threads
// at once.
PurgeResult RunPurge(const PurgeRequest& request, const Clock& clock, const std::atomic_bool& stop,
                     const std::function<void(const QByteArray& path)>& onDeleted = {},
                     const std::function<void()>& onItem = {});
