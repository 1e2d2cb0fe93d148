// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/desktopstarter.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace {

class SystemDesktopStarter : public DesktopStarter
{
public:
    bool OpenLocalPath(const QString& path) override
    {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
    bool StartDetached(const QString& program, const QStringList& arguments,
                       const QString& workingFolder) override
    {
        return QProcess::startDetached(program, arguments, workingFolder);
    }
};

} // namespace

DesktopStarter& DesktopStarter::System()
{
    static SystemDesktopStarter starter;
    return starter;
}
