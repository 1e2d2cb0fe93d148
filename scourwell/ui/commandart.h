#pragma once

#include <QIcon>

// The pictures of the main window's menu items and toolbar buttons.
enum class CommandPicture
{
    None,
    NewJob,
    SaveJobs,
    Options,
    Exit,
    LogExplorer,
    ThreadInfo,
    Help,
    About,
    EnableAll,
    DisableAll,
    Hide,
};

// The pictures, compiled in from resources/commands/commands.qrc.
namespace CommandArt {
// A null icon for None.
QIcon Image(CommandPicture picture);
} // namespace CommandArt
