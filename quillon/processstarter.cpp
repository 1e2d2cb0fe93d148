// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon/processstarter.h"

#include <QProcess>

namespace quillon {

bool DetachedProcessStarter::StartDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

} // namespace quillon
