// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The XDG autostart entry that starts Scourwell in the tray when the user logs in. The file
// itself is the setting: present and not Hidden=true means on, so the desktop's own session
// settings and the options dialog always agree.

// configHome is $XDG_CONFIG_HOME (default ~/.config).
QString AutostartEntryPath(const QString& configHome);
// The entry in the user's configuration folder (ConfigHome: a relative $XDG_CONFIG_HOME is ignored).
QString UserAutostartEntryPath();

// The entry's text: runs executable (an absolute path) with "/systray".
QByteArray AutostartEntry(const QString& executable);

bool IsAutostartEnabled(const QString& entryPath);

// Writes the entry for executable, or removes it. Returns an empty text on success, else a
// sentence for the user saying what could not be done; the old state is then kept.
QString SetAutostart(const QString& entryPath, const QString& executable, bool enabled);
