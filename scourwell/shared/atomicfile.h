// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// How a file write ended. A full disk and a full descriptor table are told apart from other
// failures: the first lets a shrinking file be rewritten in place, the second passes once
// other runs close their files.
enum class FileWrite
{
    Done,
    NoSpace,
    NoDescriptors,
    Failed,
};

// Writes bytes to a new temporary file beside path, checking every write, syncs it to disk
// and renames it over path, so that a reader sees either the old file or the new one, never
// a part. The new file keeps the replaced file's mode, and its owner where the rights allow
// (always for root). A link at path stays a link: the file it names is replaced. An
// existing file that may not be written, or a folder, is not replaced. On any failure the
// temporary file is removed and the old file is left byte for byte.
FileWrite ReplaceFile(const QString& path, const QByteArray& bytes);
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Writes bytes over the start of an existing file and cuts it to their length; refused
// when bytes are longer than the file. Needs no new space, so it serves a small file that
// only shrinks when no replacement fits; it is not atomic, so the file's readers must hold
// the writer's lock.
FileWrite OverwriteFile(const QString& path, const QByteArray& bytes);

// Appends bytes to path in one write, creating the file when it is missing; a file found
// empty receives contentWhenEmpty instead. A failed append cuts the file back to its length
// before, so no partial block stays behind.
FileWrite AppendToFile(const QString& path, const QByteArray& bytes, const QByteArray& contentWhenEmpty);

// Calls write again while it fails for lack of file descriptors (other runs may close
// theirs meanwhile), pausing in between, for about two seconds at most; the last outcome.
FileWrite RetryWhileNoDescriptors(const std::function<FileWrite()>& write);
