// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Access to one INI file by path, keeping the rules of the old profile functions: names
// match without case, values are trimmed and lose one pair of enclosing quotes (so a value
// that would otherwise change is written quoted), an existing key is replaced in place, a
// new key is appended to its section, a missing section or file is created. Nothing is
// cached: each call reads the file, and each write replaces the file atomically. Values are
// read whole. Many changes in one write: see IniDocument.
class clsIni
{
public:
    QString IniPath() const { return m_iniPath; }
    void SetIniPath(const QString& strPath) { m_iniPath = strPath; }
    void ClearAllValues() { m_iniPath.clear(); }

    QString GetIniSetting(const QString& section, const QString& key) const;
    // False when the file could not be read or written; the old file is then left intact.
    bool SaveIniSetting(const QString& section, const QString& key, const QString& setting);
    // A missing section or file is no error: true, and the file is left as it was.
    bool DeleteSection(const QString& section);

private:
    QString m_iniPath;
};
