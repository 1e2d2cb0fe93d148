#include "ui/commandart.h"

// Q_INIT_RESOURCE must be called outside any namespace; the library is static, so nothing
// registers the resources unless someone calls it.
static void InitCommandResources()
{
    Q_INIT_RESOURCE(commands);
}

namespace {

const char* FileName(CommandPicture picture)
{
    switch (picture) {
    case CommandPicture::None:
        return nullptr;
    case CommandPicture::NewJob:
        return "new-job";
    case CommandPicture::SaveJobs:
        return "save-jobs";
    case CommandPicture::Options:
        return "options";
    case CommandPicture::Exit:
        return "exit";
    case CommandPicture::LogExplorer:
        return "log-explorer";
    case CommandPicture::ThreadInfo:
        return "thread-info";
    case CommandPicture::Help:
        return "help";
    case CommandPicture::About:
        return "about";
    case CommandPicture::EnableAll:
        return "enable-all";
    case CommandPicture::DisableAll:
        return "disable-all";
    case CommandPicture::Hide:
        return "hide";
    }
    return nullptr;
}

} // namespace

namespace CommandArt {

QIcon Image(CommandPicture picture)
{
    static const bool initialised = (InitCommandResources(), true);
    Q_UNUSED(initialised);
    const char* name = FileName(picture);
    if (!name)
        return {};
    return QIcon(QStringLiteral(":/commands/") + QLatin1String(name) + QStringLiteral(".svg"));
}

} // namespace CommandArt
