#include "quillon/processstarter.h"

#include <QProcess>

namespace quillon {

bool DetachedProcessStarter::StartDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

} // namespace quillon
