// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "purge/purgeengine.h"

#include <QDateTime>
#include <QFile>
#include <QString>
#include <optional>
#include <vector>

// A record of every item a run removed, one tab-separated file per run in Logs/runs of the
// program folder, written as the run goes. The week logs are not touched.
//
// Lines: "scourwell-run\t1", then "folder\t", "style\t", "removal\t" (delete or trash) and
// "start\t" (local ISO 8601 with its offset), then one line per item removed:
// "item\tKIND\tBYTES\tDATE\tPATH\tTRASH" (BYTES and DATE empty when unknown, TRASH empty when deleted),
// and at the end "end\tcomplete|stopped|not-opened\tCOUNT\tFILES\tFOLDERS\tBYTES" (BYTES empty when not every
// size was read). Paths and the folder are the file system's bytes, and the style UTF-8, with controls, DEL
// and "%" percent-encoded.

QString RunRecordsFolder(const QString& programFolder);

// How a recorded run ended; a run without its end line was ended from outside (a kill, a
// crash, a power cut) after the items it names.
enum class RecordEnd
{
    Unfinished,
    Complete,
    Stopped,
    NotOpened // the folder could not be opened: nothing was examined
};

struct RecordedItem
{
    QByteArray path;
    PurgeItemKind kind = PurgeItemKind::File;
    qint64 size = 0;
    bool sizeKnown = true;      // a folder a run removed whole is not sized
    std::optional<qint64> date; // the date the run compared, seconds since the epoch
    QByteArray trashPath;       // where it went; empty when deleted
};

struct RunRecord
{
    QString file;   // the record's own path
    QString folder; // the job folder as the job names it
    QString style;  // FileFolderStyle
    Removal removal = Removal::Delete;
    QDateTime start;
    RecordEnd end = RecordEnd::Unfinished;
    // From the end line, or counted from the items when there is none.
    qint64 count = 0;
    qint64 files = 0;
    qint64 folders = 0;
    qint64 bytes = 0;
    bool sizesKnown = true;          // false when bytes leaves out an item not sized
    std::vector<RecordedItem> items; // only when read with them
};

enum class RecordItems
{
    Skipped,
    Read
};

// One record; nothing when the file is no record.
std::optional<RunRecord> ReadRunRecord(const QString& file, RecordItems items = RecordItems::Read);
// Every record of the program folder, newest first, without their items.
std::vector<RunRecord> ReadRunRecords(const QString& programFolder);

// Records are kept this long, and at most this many bytes in all (the oldest go first).
constexpr int RunRecordDays = 90;
constexpr qint64 RunRecordBytes = 64 * 1024 * 1024;
// Removes the records beyond those bounds, judged at now.
void PruneRunRecords(const QString& programFolder, const QDateTime& now);

// Writes one run's record. The lines go to the file every few items, so that a run ended from
// outside loses at most those. A record that cannot be written is given up without a word:
// the run goes on.
class RunRecordWriter
{
public:
    RunRecordWriter(const QString& programFolder, const QString& folder, const QString& style,
                    Removal removal, const QDateTime& start);
    void Add(const RemovedItem& item);
    void Finish(const PurgeResult& result);
    QString File() const { return m_file.fileName(); }

private:
    void Write(const QByteArray& line);

    QFile m_file;
    int m_unflushed = 0;
};
