// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/commandtable.h"

#include <QIcon>

// The pictures of the commands, compiled in from resources/commands/commands.qrc.
namespace CommandArt {
// The picture of a command; a null icon for the row commands, which have none.
QIcon Image(MainCommand command);
} // namespace CommandArt
