// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/trash.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>

namespace {

// The longest file name most file systems take; the .trashinfo beside a trashed item needs
// its name and this suffix.
constexpr qsizetype NameMax = 255;
const QByteArray InfoSuffix = ".trashinfo";
const QByteArray InfoGroup = "[Trash Info]";
const char DateFormat[] = "yyyy-MM-ddTHH:mm:ss";

bool KeptAsIs(char c, Escaping escaping)
{
    const auto byte = static_cast<unsigned char>(c);
    if (escaping == Escaping::Field)
        return byte >= 0x20 && byte != 0x7F && c != '%';
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

QByteArray HomeTrashFolder()
{
    // Only an absolute path counts, as the base directory rule says.
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    const QString base = QDir::isAbsolutePath(dataHome)
                             ? QDir::cleanPath(dataHome)
                             : QDir::cleanPath(QDir::homePath() + u"/.local/share");
    return QFile::encodeName(base) + "/Trash";
}

QByteArray PercentEncoded(QByteArrayView bytes, Escaping escaping)
{
    static const char Hex[] = "0123456789ABCDEF";
    QByteArray text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        if (KeptAsIs(c, escaping)) {
            text += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        text += '%';
        text += Hex[byte >> 4];
        text += Hex[byte & 0xF];
    }
    return text;
}

std::optional<QByteArray> PercentDecoded(QByteArrayView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low < 0)
            return std::nullopt;
        bytes += char(high * 16 + low);
        i += 2;
    }
    return bytes;
}

QByteArray TrashInfoText(QByteArrayView path, const QDateTime& deletionDate)
{
    return InfoGroup + "\nPath=" + PercentEncoded(path, Escaping::Uri) +
           "\nDeletionDate=" + deletionDate.toString(QLatin1StringView(DateFormat)).toLatin1() + '\n';
}

std::optional<TrashInfo> ParseTrashInfo(QByteArrayView text)
{
    std::optional<QByteArray> path;
    QDateTime date;
    bool inGroup = false;
    for (const QByteArray& rawLine : text.toByteArray().split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('['))
            inGroup = line == InfoGroup;
        else if (inGroup && line.startsWith("Path="))
            path = PercentDecoded(line.sliced(5));
        else if (inGroup && line.startsWith("DeletionDate="))
            date = QDateTime::fromString(QString::fromLatin1(line.sliced(13)), QLatin1StringView(DateFormat));
    }
    if (!path || path->isEmpty())
        return std::nullopt;
    return TrashInfo{*path, date};
}

QByteArray TrashName(QByteArrayView name, int attempt)
{
    const QByteArray suffix = attempt > 0 ? '.' + QByteArray::number(attempt + 1) : QByteArray();
    // The number goes before an extension, so the item keeps its type in the trash.
    qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0 || attempt == 0)
        dot = name.size();
    QByteArrayView stem = name.first(dot);
    const QByteArrayView extension = name.sliced(dot);
    const qsizetype room = NameMax - InfoSuffix.size() - suffix.size() - extension.size();
    if (room <= 0)
        return TrashName(name.first(NameMax / 2), attempt);
    if (stem.size() > room)
        stem = stem.first(room);
    return stem.toByteArray() + suffix + extension.toByteArray();
}
