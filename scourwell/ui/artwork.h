// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/jobrow.h"

#include <QIcon>
#include <QPixmap>

// The pictures of status panel 1: the selected job's purge style, or none selected.
enum class StylePicture
{
    FilesOnly = 1,
    IncludeFilesInSubfolders = 2,
    SubfoldersOnly = 3,
    Neutral = 4
};

// The program's own pictures, compiled in from resources/scourwell.qrc; no desktop theme
// is consulted, so they look the same everywhere.
namespace Artwork {
QIcon AppIcon();
QPixmap SplashLogo(int size);
QIcon RowIcon(::RowIcon icon);
QIcon StylePicture(::StylePicture picture);
} // namespace Artwork
