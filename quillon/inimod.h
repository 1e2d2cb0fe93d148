// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace quillon {

// The three settings the log explorer works with while it runs.
struct LogSettings
{
    QString folder;
    QString filter;
    QString viewer;
};

// quillon.ini in the program folder and the current settings loaded from it. The file's
// lock decides whether a change made in the Options dialog is written back or lasts only
// until the program ends.
class IniMod
{
public:
    explicit IniMod(QString programFolder);

    QString IniPath() const;
    bool SettingsFileExists() const;

    // Writes the five default lines, replacing any file of that name.
    bool CreateDefaultSettings() const;
    // Makes folder, filter and viewer of the file the current settings; missing keys read "".
    void LoadSettings();
    // Writes the current settings only when the lock reads false. False means the file
    // could not be written; a locked file is no failure.
    bool SaveSettings() const;
    // "true" or "false" in any letter case; nullopt for anything else.
    std::optional<bool> Lock() const;

    const LogSettings& Current() const { return m_current; }
    void SetCurrent(const LogSettings& settings) { m_current = settings; }

private:
    QString m_programFolder;
    LogSettings m_current;
};

} // namespace quillon
