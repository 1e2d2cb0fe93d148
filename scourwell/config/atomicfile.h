#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes to a temporary file beside path, flushes it to disk and renames it over path,
// so that a reader sees either the old file or the new one, never a part. False when any
// step fails; the old file is then left as it was.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);
