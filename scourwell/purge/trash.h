// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <optional>

// The portable half of moving items to the desktop's trash, laid out as other desktop tools
// read it: where the home trash is, the text of a .trashinfo file and the names items take
// inside a trash. The file-system half is FsWalk::TrashCan.

// $XDG_DATA_HOME/Trash when XDG_DATA_HOME is an absolute path, else ~/.local/share/Trash, as
// the file system's bytes.
QByteArray HomeTrashFolder();

// Which bytes stay as they are when percent-encoded.
enum class Escaping
{
    Uri,  // letters, digits, "-._~" and "/": the Path of a .trashinfo, as desktops read it
    Field // all but controls, DEL and "%": a field of a tab-separated line
};
QByteArray PercentEncoded(QByteArrayView bytes, Escaping escaping);
// Every %XX decoded; nothing for a "%" that is not followed by two hex digits.
std::optional<QByteArray> PercentDecoded(QByteArrayView text);

// The .trashinfo text of an item: path percent-encoded (absolute for the home trash, relative
// to the top folder of its file system for a trash there) and the local date and time, as
// deletionDate shows them (a local time, or a wall-clock time from LocalWallTime).
QByteArray TrashInfoText(QByteArrayView path, const QDateTime& deletionDate);

// Far more than any .trashinfo holds; a bigger file is none of a desktop's.
constexpr qint64 TrashInfoLimit = 64 * 1024;

struct TrashInfo
{
    QByteArray path; // decoded, as written
    QDateTime deletionDate;
};
// A .trashinfo read back; nothing when it has no [Trash Info] group with a decodable Path.
std::optional<TrashInfo> ParseTrashInfo(QByteArrayView text);

// The name an item takes in a trash at the given attempt: its own at 0, then with ".2", ".3"
// ... before its extension. Cut where needed, so that the name with ".trashinfo" still fits a
// file name.
QByteArray TrashName(QByteArrayView name, int attempt);
