// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/autostart.h"

#include "shared/atomicfile.h"
#include "shared/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// An Exec argument quoted whole, then escaped as a string value; '%' would start a field code.
QString QuotedExecArgument(const QString& argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';

    QString value;
    for (const QChar c : quoted) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else if (c == u'%')
            value += QStringLiteral("%%");
        else
            value += c;
    }
    return value;
}

bool IsHidden(const QByteArray& text)
{
    bool inEntry = false;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (inEntry && equals > 0 && line.left(equals).trimmed() == "Hidden")
            return line.mid(equals + 1).trimmed() == "true";
    }
    return false;
}

} // namespace

QString AutostartEntryPath(const QString& configHome)
{
    return configHome + QStringLiteral("/autostart/scourwell.desktop");
}

QString UserAutostartEntryPath()
{
    return AutostartEntryPath(ConfigHome());
}

QByteArray AutostartEntry(const QString& executable)
{
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Scourwell\n"
                                        "Comment=Start Scourwell in the tray\n"
                                        "Exec=") +
                         QuotedExecArgument(executable) +
                         QStringLiteral(" /systray\n"
                                        "Icon=scourwell\n"
                                        "Terminal=false\n");
    return text.toUtf8();
}

bool IsAutostartEnabled(const QString& entryPath)
{
    QFile file(entryPath);
    if (!file.exists())
        return false;
    // A file we cannot read still starts the program.
    return !file.open(QIODevice::ReadOnly) || !IsHidden(file.readAll());
}

QString SetAutostart(const QString& entryPath, const QString& executable, bool enabled)
{
    if (enabled) {
        const QString folder = QFileInfo(entryPath).absolutePath();
        if (!QDir().mkpath(folder) || !WriteFileAtomically(entryPath, AutostartEntry(executable)))
            return QStringLiteral("Scourwell could not write its autostart entry ") + entryPath +
                   QStringLiteral(".");
        return {};
    }
    QFile file(entryPath);
    if (file.exists() && !file.remove())
        return QStringLiteral("Scourwell could not remove its autostart entry ") + entryPath +
               QStringLiteral(": ") + file.errorString();
    return {};
}
