#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, compiled in from resources/scourwell.qrc; no desktop theme
// is consulted, so they look the same everywhere.
namespace Artwork {
QIcon AppIcon();
QPixmap SplashLogo(int size);
// Row icons 1..6 of the job list (enabled, disabled, enabled and passed, disabled and
// passed, folder missing, running); a null icon for any other value.
QIcon RowIcon(int icon);
// Style pictures 1..4 of status panel 1 (files only, files in subfolders, subfolders
// only, neutral).
QIcon StylePicture(int picture);
} // namespace Artwork
