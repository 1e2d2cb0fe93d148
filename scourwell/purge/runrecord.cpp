// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/runrecord.h"

#include "purge/trash.h"
#include "shared/bytetext.h"
#include "shared/localzone.h"
#include "shared/programfolder.h"

#include <QByteArrayList>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

const QByteArray Signature = "scourwell-run\t1";

struct EndWord
{
    RecordEnd end;
    PurgeOutcome outcome;
    const char* word;
};
constexpr EndWord EndWords[] = {{RecordEnd::Complete, PurgeOutcome::Complete, "complete"},
                                {RecordEnd::Stopped, PurgeOutcome::Stopped, "stopped"},
                                {RecordEnd::NotOpened, PurgeOutcome::NotOpened, "not-opened"}};
constexpr int ItemsPerFlush = 8;
constexpr PurgeItemKind Kinds[] = {PurgeItemKind::File, PurgeItemKind::Folder, PurgeItemKind::Link,
                                   PurgeItemKind::Other};

QByteArray Field(QByteArrayView bytes)
{
    return PercentEncoded(bytes, Escaping::Field);
}

QByteArray DateText(const QDateTime& date)
{
    return date.toOffsetFromUtc(date.offsetFromUtc()).toString(Qt::ISODate).toLatin1();
}

// An item's date with its offset, in the zone's rules read once: a local QDateTime would look
// at the zone file again for every item of a run.
QByteArray ItemDateText(qint64 secondsSinceEpoch)
{
    return QDateTime::fromSecsSinceEpoch(secondsSinceEpoch, Qt::OffsetFromUTC,
                                         int(UtcOffsetAt(secondsSinceEpoch)))
        .toString(Qt::ISODate)
        .toLatin1();
}

QByteArray RemovalWord(Removal removal)
{
    return removal == Removal::MoveToTrash ? "trash" : "delete";
}

// A decoded field; the text as it is when it is no valid encoding (a hand-edited file).
QByteArray Decoded(const QByteArray& field)
{
    return PercentDecoded(field).value_or(field);
}

void ReadItem(const QByteArrayList& fields, RunRecord& record, RecordItems items)
{
    if (fields.size() < 6)
        return;
    RecordedItem item;
    const auto kind = std::find_if(std::begin(Kinds), std::end(Kinds),
                                   [&](PurgeItemKind k) { return KindWord(k) == fields[1]; });
    item.kind = kind == std::end(Kinds) ? PurgeItemKind::Other : *kind;
    item.size = fields[2].toLongLong();
    item.sizeKnown = !fields[2].isEmpty();
    const QDateTime date = QDateTime::fromString(QString::fromLatin1(fields[3]), Qt::ISODate);
    if (date.isValid())
        item.date = date.toSecsSinceEpoch();
    if (record.end == RecordEnd::Unfinished) {
        ++record.count;
        ++(item.kind == PurgeItemKind::Folder ? record.folders : record.files);
        record.bytes += item.size;
        record.sizesKnown = record.sizesKnown && item.sizeKnown;
    }
    if (items == RecordItems::Skipped)
        return;
    item.path = Decoded(fields[4]);
    item.trashPath = Decoded(fields[5]);
    record.items.push_back(std::move(item));
}

void ReadEnd(const QByteArrayList& fields, RunRecord& record)
{
    if (fields.size() < 6)
        return;
    const auto word = std::find_if(std::begin(EndWords), std::end(EndWords),
                                   [&](const EndWord& w) { return fields[1] == w.word; });
    record.end = word == std::end(EndWords) ? RecordEnd::Complete : word->end;
    record.count = fields[2].toLongLong();
    record.files = fields[3].toLongLong();
    record.folders = fields[4].toLongLong();
    record.bytes = fields[5].toLongLong();
    record.sizesKnown = !fields[5].isEmpty();
}

QFileInfoList RecordFiles(const QString& programFolder)
{
    // Their names begin with the start time: by name is oldest first.
    return QDir(RunRecordsFolder(programFolder))
        .entryInfoList({QStringLiteral("*.tsv")}, QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

QString RunRecordsFolder(const QString& programFolder)
{
    return LogsFolder(programFolder) + QStringLiteral("/runs");
}

std::optional<RunRecord> ReadRunRecord(const QString& file, RecordItems items)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly) || in.readLine().trimmed() != Signature)
        return std::nullopt;
    RunRecord record;
    record.file = file;
    while (!in.atEnd()) {
        QByteArray line = in.readLine();
        // A line cut short by the end of a run from outside is not read.
        if (!line.endsWith('\n'))
            break;
        line.chop(1);
        const QByteArrayList fields = line.split('\t');
        const QByteArray& key = fields[0];
        const QByteArray value = fields.size() > 1 ? fields[1] : QByteArray();
        if (key == "item")
            ReadItem(fields, record, items);
        else if (key == "end")
            ReadEnd(fields, record);
        else if (key == "folder")
            record.folder = TextFromBytes(Decoded(value));
        else if (key == "style")
            record.style = QString::fromUtf8(Decoded(value));
        else if (key == "removal")
            record.removal =
                value == RemovalWord(Removal::MoveToTrash) ? Removal::MoveToTrash : Removal::Delete;
        else if (key == "start")
            record.start = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODate);
    }
    return record;
}

std::vector<RunRecord> ReadRunRecords(const QString& programFolder)
{
    std::vector<RunRecord> records;
    const QFileInfoList files = RecordFiles(programFolder);
    for (auto file = files.crbegin(); file != files.crend(); ++file) {
        if (std::optional<RunRecord> record = ReadRunRecord(file->filePath(), RecordItems::Skipped))
            records.push_back(std::move(*record));
    }
    return records;
}

void PruneRunRecords(const QString& programFolder, const QDateTime& now)
{
    const QFileInfoList files = RecordFiles(programFolder);
    const QDateTime oldest = now.addDays(-RunRecordDays);
    qint64 bytes = 0;
    for (const QFileInfo& file : files)
        bytes += file.size();
    for (const QFileInfo& file : files) {
        if (file.lastModified() >= oldest && bytes <= RunRecordBytes)
            break;
        if (QFile::remove(file.filePath()))
            bytes -= file.size();
    }
}

RunRecordWriter::RunRecordWriter(const QString& programFolder, const QString& folder, const QString& style,
                                 Removal removal, const QDateTime& start)
{
    const QString records = RunRecordsFolder(programFolder);
    if (!QDir().mkpath(records))
        return;
    // The start and the folder name the file; a second run of the same minute and folder gets
    // a number.
    const QString stem =
        records + u'/' + start.toString(u"yyyyMMdd-HHmmss") + u'-' +
        QString::fromLatin1(
            QCryptographicHash::hash(BytesFromText(folder), QCryptographicHash::Sha1).toHex().left(8));
    for (int attempt = 0; attempt < 100 && !m_file.isOpen(); ++attempt) {
        m_file.setFileName(stem + (attempt == 0 ? QString() : u'-' + QString::number(attempt)) + u".tsv");
        m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    }
    Write(Signature + "\nfolder\t" + Field(BytesFromText(folder)) + "\nstyle\t" + Field(style.toUtf8()) +
          "\nremoval\t" + RemovalWord(removal) + "\nstart\t" + DateText(start) + '\n');
    m_file.flush();
}

void RunRecordWriter::Add(const RemovedItem& item)
{
    const ItemDecision& decision = item.decision;
    const QByteArray date = decision.date ? ItemDateText(*decision.date) : QByteArray();
    Write(QByteArrayList{"item", KindWord(decision.kind),
                         decision.sizeKnown ? QByteArray::number(decision.size) : QByteArray(), date,
                         Field(decision.path), Field(item.trashPath)}
              .join('\t') +
          '\n');
    if (++m_unflushed >= ItemsPerFlush) {
        m_file.flush();
        m_unflushed = 0;
    }
}

void RunRecordWriter::Finish(const PurgeResult& result)
{
    const auto word = std::find_if(std::begin(EndWords), std::end(EndWords),
                                   [&](const EndWord& w) { return w.outcome == result.outcome; });
    Write("end\t" + QByteArray(word->word) + '\t' + QByteArray::number(result.count) + '\t' +
          QByteArray::number(result.files) + '\t' + QByteArray::number(result.folders) + '\t' +
          (result.sizesKnown ? QByteArray::number(result.bytes) : QByteArray()) + '\n');
    m_file.close();
}

void RunRecordWriter::Write(const QByteArray& line)
{
    if (m_file.isOpen())
        m_file.write(line);
}
