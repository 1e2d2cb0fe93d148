// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/programfolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Symbolic links (/bin -> /usr/bin) must not hide that two folders are one.
QString Canonical(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : canonical;
}

} // namespace

QString ResolveProgramFolder(const QString& executableFolder)
{
    return ResolveProgramFolder(executableFolder, QStringLiteral(SCOURWELL_INSTALL_BINDIR));
}

QString ResolveProgramFolder(const QString& executableFolder, const QString& installedBinFolder)
{
    const QFileInfo info(executableFolder);
    const bool installed = Canonical(executableFolder) == Canonical(installedBinFolder);
    if (!installed && info.isDir() && info.isWritable())
        return QDir::cleanPath(info.absoluteFilePath());
    const QString folder = ConfigHome() + QStringLiteral("/scourwell");
    QDir().mkpath(folder);
    return folder;
}

QString ConfigHome()
{
    // Only an absolute path counts: a relative one would name a folder under whatever the
    // working directory happens to be.
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(configHome))
        return QDir::cleanPath(configHome);
    return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.config"));
}

QString ConfigDatPath(const QString& programFolder)
{
    return programFolder + "/ConfigDat.ini";
}
QString QuillonIniPath(const QString& programFolder)
{
    return programFolder + "/quillon.ini";
}
QString StatDumpPath(const QString& programFolder)
{
    return programFolder + "/statdump.tmp";
}
QString LogsFolder(const QString& programFolder)
{
    return programFolder + "/Logs";
}
