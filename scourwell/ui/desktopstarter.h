// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// How the commands hand things to the desktop. Paths travel as single arguments: no shell
// ever sees a file name.
class DesktopStarter
{
public:
    virtual ~DesktopStarter() = default;
    // Opens a file or folder with the desktop's default handler, without waiting.
    virtual bool OpenLocalPath(const QString& path) = 0;
    // Starts program with its arguments, detached, in the given working folder.
    virtual bool StartDetached(const QString& program, const QStringList& arguments,
                               const QString& workingFolder) = 0;

    // The real desktop: QDesktopServices and QProcess.
    static DesktopStarter& System();
};
