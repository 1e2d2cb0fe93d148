#include "purge/stringhandling.h"

#include "config/bytetext.h"
#include "config/programfolder.h"
#include "purge/filelock.h"

#include <QFile>
#include <QMutexLocker>
#include <QSaveFile>

QByteArray RunningMarker(const QString& folder)
{
    return BytesFromText(QString('<' + folder + '>'));
}

bool AddTextToFile(const QString& filePath, const QString& text)
{
    const QByteArray marker = RunningMarker(text);
    QMutexLocker lock(&SharedFileLock());
    QFile file(filePath);
    return file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered) &&
           file.write(marker) == marker.size();
}

bool RemoveTextFromFile(const QString& filePath, const QString& text)
{
    const QByteArray marker = RunningMarker(text);
    QMutexLocker lock(&SharedFileLock());
    QFile file(filePath);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    file.close();
    if (!content.contains(marker))
        return true;
    content.replace(marker, QByteArray());

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
    static const QByteArray firstLine("\0\r\n", 3);
    QMutexLocker lock(&SharedFileLock());
    QFile file(StatDumpPath(programFolder));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) &&
           file.write(firstLine) == firstLine.size();
}
