// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>

// An icon as it shows at list and menu size, so that two pictures compare by their pixels.
inline QImage Picture(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage();
}
