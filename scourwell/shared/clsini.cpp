// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/clsini.h"

#include "shared/inidocument.h"

QString clsIni::GetIniSetting(const QString& section, const QString& key) const
{
    IniDocument doc;
    doc.Load(m_iniPath);
    return doc.Value(section, key);
}

bool clsIni::SaveIniSetting(const QString& section, const QString& key, const QString& setting)
{
    IniDocument doc;
    // A file that exists but cannot be read must not be replaced by one holding this key alone.
    if (!doc.Load(m_iniPath))
        return false;
    doc.SetValue(section, key, setting);
    return doc.Save(m_iniPath);
}

bool clsIni::DeleteSection(const QString& section)
{
    IniDocument doc;
    if (!doc.Load(m_iniPath))
        return false;
    // Nothing to remove: the file stays as it is, and a missing file is not created.
    if (!doc.HasSection(section))
        return true;
    doc.RemoveSection(section);
    return doc.Save(m_iniPath);
}
