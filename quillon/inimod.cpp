// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon/inimod.h"

#include "shared/atomicfile.h"
#include "shared/clsini.h"
#include "shared/programfolder.h"

#include <QFileInfo>

namespace quillon {

namespace {

const QString Section = QStringLiteral("init");

clsIni OpenIni(const QString& path)
{
    clsIni ini;
    ini.SetIniPath(path);
    return ini;
}

} // namespace

IniMod::IniMod(QString programFolder) : m_programFolder(std::move(programFolder)) {}

QString IniMod::IniPath() const
{
    return QuillonIniPath(m_programFolder);
}

bool IniMod::SettingsFileExists() const
{
    return QFileInfo(IniPath()).isFile();
}

bool IniMod::CreateDefaultSettings() const
{
    // New INI files are written with CRLF line ends, like every other INI file of the suite.
    static const QByteArray Default = "[init]\r\n"
                                      "lock=true\r\n"
                                      "folder=\r\n"
                                      "filter=.htm\r\n"
                                      "viewer=xdg-open\r\n";
    return WriteFileAtomically(IniPath(), Default);
}

void IniMod::LoadSettings()
{
    const clsIni ini = OpenIni(IniPath());
    m_current.folder = ini.GetIniSetting(Section, "folder");
    m_current.filter = ini.GetIniSetting(Section, "filter");
    m_current.viewer = ini.GetIniSetting(Section, "viewer");
}

bool IniMod::SaveSettings() const
{
    // A lock that is not a truth value protects the file like "true".
    if (Lock() != false)
        return true;
    clsIni ini = OpenIni(IniPath());
    return ini.SaveIniSetting(Section, "folder", m_current.folder) &&
           ini.SaveIniSetting(Section, "filter", m_current.filter) &&
           ini.SaveIniSetting(Section, "viewer", m_current.viewer);
}

std::optional<bool> IniMod::Lock() const
{
    const QString value = OpenIni(IniPath()).GetIniSetting(Section, "lock");
    if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

} // namespace quillon
