#include "purge/stringhandling.h"

#include "config/bytetext.h"
#include "config/programfolder.h"
#include "purge/filelock.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutexLocker>
#include <QSaveFile>

namespace {

const QByteArray FirstLine("\0\r\n", 3);

// The markers this process has added and not yet removed, per status file (guarded by
// SharedFileLock): what the file would hold had nobody deleted it, so that a missing file is
// written anew with the markers of the runs still under way.
QList<QByteArray>& LiveMarkers(const QString& filePath)
{
    static QHash<QString, QList<QByteArray>> live;
    return live[filePath];
}

QByteArray LiveText(const QString& filePath)
{
    return LiveMarkers(filePath).join();
}

} // namespace

QByteArray RunningMarker(const QString& folder)
{
    return BytesFromText(QString('<' + folder + '>'));
}

bool AddTextToFile(const QString& filePath, const QString& text)
{
    const QByteArray marker = RunningMarker(text);
    QMutexLocker lock(&SharedFileLock());
    LiveMarkers(filePath).append(marker);
    const QByteArray bytes = QFileInfo::exists(filePath) ? marker : LiveText(filePath);
    QFile file(filePath);
    return file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered) &&
           file.write(bytes) == bytes.size();
}

bool RemoveTextFromFile(const QString& filePath, const QString& text)
{
    const QByteArray marker = RunningMarker(text);
    QMutexLocker lock(&SharedFileLock());
    // The run has ended whatever the file allows: its marker must never be written anew.
    LiveMarkers(filePath).removeAll(marker);
    QByteArray content;
    QFile file(filePath);
    if (!file.exists()) {
        // Deleted under the runs: written back, with the markers of those still under way.
        content = LiveText(filePath);
    } else {
        if (!file.open(QIODevice::ReadOnly))
            return false;
        content = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return false;
        file.close();
        if (!content.contains(marker))
            return true;
        content.replace(marker, QByteArray());
    }

    // A new file renamed into place, so a failed write never leaves a half-written dump.
    QSaveFile out(filePath);
    out.setDirectWriteFallback(true);
    return out.open(QIODevice::WriteOnly) && out.write(content) == content.size() && out.commit();
}

bool IsTextInFile(const QString& filePath, const QString& text)
{
    const std::optional<QByteArray> content = ReadStatusFile(filePath);
    return !content || content->contains(BytesFromText(text));
}

std::optional<QByteArray> ReadStatusFile(const QString& filePath)
{
    QMutexLocker lock(&SharedFileLock());
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
}

bool ResetStatusDump(const QString& programFolder)
{
    const QString filePath = StatDumpPath(programFolder);
    QMutexLocker lock(&SharedFileLock());
    LiveMarkers(filePath).clear();
    QFile file(filePath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) &&
           file.write(FirstLine) == FirstLine.size();
}

bool HealStatusDump(const QString& filePath)
{
    QMutexLocker lock(&SharedFileLock());
    // NewOnly: a file that exists, even one that cannot be read now, keeps what it holds.
    const QByteArray text = FirstLine + LiveText(filePath);
    QFile file(filePath);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered) &&
           file.write(text) == text.size();
}
