// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/stringhandling.h"

#include "purge/filelock.h"
#include "shared/atomicfile.h"
#include "shared/bytetext.h"
#include "shared/programfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutexLocker>

namespace {

const QByteArray FirstLine("\0\r\n", 3);

// The markers this process has added and not yet removed, per status file, in the order
// added (guarded by SharedFileLock): what the file holds after its first line.
QList<QByteArray>& LiveMarkers(const QString& filePath)
{
    static QHash<QString, QList<QByteArray>> live;
    return live[filePath];
}

QByteArray OwnContent(const QString& filePath)
{
    return FirstLine + LiveMarkers(filePath).join();
}

// Replaced whole; when no new file fits, overwritten in place, which needs no space because
// the file only shrinks (every reader holds SharedFileLock, so none sees it half written).
FileWrite WriteStatusFile(const QString& filePath, const QByteArray& content)
{
    const FileWrite result = ReplaceFile(filePath, content);
    return result == FileWrite::NoSpace ? OverwriteFile(filePath, content) : result;
}

// Caller holds SharedFileLock.
std::optional<QByteArray> ReadWhole(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
}

} // namespace

QByteArray RunningMarker(const QString& folder)
{
    return BytesFromText(QString('<' + folder + '>'));
}

bool AddTextToFile(const QString& filePath, const QString& text)
{
    const QByteArray marker = RunningMarker(text);
    {
        QMutexLocker lock(&SharedFileLock());
        LiveMarkers(filePath).append(marker);
    }
    return RetryWhileNoDescriptors([&] {
               QMutexLocker lock(&SharedFileLock());
               return AppendToFile(filePath, marker, OwnContent(filePath));
           }) == FileWrite::Done;
}

bool RemoveTextFromFile(const QString& filePath, const QString& text)
{
    const QByteArray marker = RunningMarker(text);
    {
        QMutexLocker lock(&SharedFileLock());
        // The run has ended whatever the file allows: its marker must never be written anew.
        LiveMarkers(filePath).removeOne(marker);
    }
    // The lock is let go between tries, so the list is read afresh each time.
    return RetryWhileNoDescriptors([&] {
               QMutexLocker lock(&SharedFileLock());
               return WriteStatusFile(filePath, OwnContent(filePath));
           }) == FileWrite::Done;
}

bool IsTextInFile(const QString& filePath, const QString& text)
{
    QMutexLocker lock(&SharedFileLock());
    const std::optional<QByteArray> content = ReadWhole(filePath);
    return !content || content->contains(BytesFromText(text));
}

bool ResetStatusDump(const QString& programFolder)
{
    const QString filePath = StatDumpPath(programFolder);
    QMutexLocker lock(&SharedFileLock());
    LiveMarkers(filePath).clear();
    return WriteStatusFile(filePath, FirstLine) == FileWrite::Done;
}

bool HealStatusDump(const QString& filePath)
{
    QMutexLocker lock(&SharedFileLock());
    // A file that exists, even one that cannot be read now, keeps what it holds. All writers
    // hold the lock, so none creates it between the check and the write; a write that does not
    // fit leaves it missing (every row running) rather than empty (every row idle).
    const QFileInfo info(filePath);
    return !info.exists() && !info.isSymLink() &&
           ReplaceFile(filePath, OwnContent(filePath)) == FileWrite::Done;
}

RunningMarkers::RunningMarkers(QByteArray content, std::optional<QList<QByteArray>> own)
    : m_content(std::move(content)), m_own(std::move(own))
{
}

bool RunningMarkers::Has(const QByteArray& marker) const
{
    return m_own ? m_own->contains(marker) : m_content.contains(marker);
}

std::optional<RunningMarkers> ReadRunningMarkers(const QString& filePath)
{
    QMutexLocker lock(&SharedFileLock());
    std::optional<QByteArray> content = ReadWhole(filePath);
    if (!content)
        return std::nullopt;
    std::optional<QList<QByteArray>> own;
    if (*content == OwnContent(filePath))
        own = LiveMarkers(filePath);
    return RunningMarkers(std::move(*content), std::move(own));
}
