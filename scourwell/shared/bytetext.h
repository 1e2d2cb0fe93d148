// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Text that stands for bytes which need not be UTF-8: settings written on the old platform in a
// single-byte code page, and file names, which Linux keeps as bytes. Valid UTF-8 decodes as
// usual; every other byte becomes the lone surrogate U+DC80 + byte (Python's surrogateescape),
// and BytesFromText gives those bytes back exactly, so such a name still opens the same file.

QString TextFromBytes(QByteArrayView bytes);
// A lone surrogate that no decoding gives is written as U+FFFD.
QByteArray BytesFromText(QStringView text);
// Whether text comes back unchanged through BytesFromText and TextFromBytes (false for
// text that no bytes decode to, such as escapes that together spell valid UTF-8).
bool SurvivesBytes(QStringView text);
// Whether the file system has an entry of this name, following links.
bool PathExists(const QString& path);
// Whether the name is that of a folder, following links.
bool IsFolderPath(const QString& path);
