#include "ui/commandart.h"

#include <array>
#include <utility>

// Q_INIT_RESOURCE must be called outside any namespace; the library is static, so nothing
// registers the resources unless someone calls it.
static void InitCommandResources()
{
    Q_INIT_RESOURCE(commands);
}

namespace {

QIcon Picture(const char* name)
{
    static const bool initialised = (InitCommandResources(), true);
    Q_UNUSED(initialised);
    return QIcon(QStringLiteral(":/commands/") + QLatin1String(name) + QStringLiteral(".svg"));
}

} // namespace

namespace CommandArt {

QIcon MenuImage(int image)
{
    static constexpr std::array names{"new-job",      "save-jobs",   "options", "exit",
                                      "log-explorer", "thread-info", "help",    "about"};
    if (image < 1 || image > static_cast<int>(names.size()))
        return {};
    return Picture(names[static_cast<size_t>(image - 1)]);
}

QIcon ToolbarImage(const QString& key)
{
    static constexpr std::array<std::pair<const char*, const char*>, 8> pictures{{
        {"New", "new-job"},
        {"Save", "save-jobs"},
        {"Enable", "enable-all"},
        {"Disable", "disable-all"},
        {"Log", "log-explorer"},
        {"Options", "options"},
        {"Help", "help"},
        {"Hide", "hide"},
    }};
    for (const auto& [buttonKey, name] : pictures) {
        if (key == QLatin1String(buttonKey))
            return Picture(name);
    }
    return {};
}

} // namespace CommandArt
