#pragma once

#include <QIcon>
#include <QString>

// The pictures of the commands, compiled in from resources/commands/commands.qrc.
namespace CommandArt {
// Images 1..8 beside the File and View items: New Job, Save Jobs, Options, Exit,
// Log Explorer, Thread Info, Help, About. A null icon for any other number.
QIcon MenuImage(int image);
// The image of a toolbar button by its key ("New", "Save", "Enable", "Disable", "Log",
// "Options", "Help", "Hide"); a null icon for any other key.
QIcon ToolbarImage(const QString& key);
} // namespace CommandArt
