// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/artwork.h"

#include <QString>
#include <array>

// Q_INIT_RESOURCE must be called outside any namespace; the library is static, so nothing
// registers the resources unless someone calls it.
static void InitScourwellResources()
{
    Q_INIT_RESOURCE(scourwell);
}

namespace {

QString Path(const char* name)
{
    static const bool initialised = (InitScourwellResources(), true);
    Q_UNUSED(initialised);
    return QStringLiteral(":/scourwell/icons/") + QLatin1String(name) + QStringLiteral(".svg");
}

} // namespace

namespace Artwork {

QIcon AppIcon()
{
    return QIcon(Path("scourwell"));
}

QPixmap SplashLogo(int size)
{
    return QIcon(Path("splash-logo")).pixmap(size, size);
}

QIcon RowIcon(::RowIcon icon)
{
    static constexpr std::array names{"row-enabled",         "row-disabled",       "row-enabled-passed",
                                      "row-disabled-passed", "row-folder-missing", "row-running"};
    return QIcon(Path(names[static_cast<size_t>(icon) - 1]));
}

QIcon StylePicture(::StylePicture picture)
{
    static constexpr std::array names{"style-files", "style-files-subfolders", "style-subfolders",
                                      "style-none"};
    return QIcon(Path(names[static_cast<size_t>(picture) - 1]));
}

} // namespace Artwork
