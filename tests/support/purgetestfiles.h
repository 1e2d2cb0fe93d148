// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>

// statdump.tmp as every start leaves it.
inline const QByteArray StatDumpFirstLine("\0\r\n", 3);

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void SetModified(const QString& path, const QDateTime& time)
{
    const timespec stamp{time.toSecsSinceEpoch(), 0};
    const timespec times[2] = {stamp, stamp};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

inline void MakeFile(const QString& path, const QDateTime& modified)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    SetModified(path, modified);
}

// One week-log row block with these cell texts.
inline QByteArray LogRow(const QStringList& cells)
{
    QByteArray row = "<tr> \r\n";
    for (const QString& cell : cells)
        row += "<td>" + cell.toUtf8() + "</td>\r\n";
    return row + "</tr>\r\n";
}
