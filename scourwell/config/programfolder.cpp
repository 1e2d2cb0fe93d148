#include "config/programfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ResolveProgramFolder(const QString& executableFolder)
{
    const QFileInfo info(executableFolder);
    if (info.isDir() && info.isWritable())
        return QDir::cleanPath(info.absoluteFilePath());
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/scourwell";
    QDir().mkpath(folder);
    return folder;
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
