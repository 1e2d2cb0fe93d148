#include "purge/purgecommand.h"

#include "config/jobwords.h"
#include "purge/purgeengine.h"
#include "shared/bytetext.h"

#include <QFile>

namespace {

const char Usage[] =
    "usage: scourwell --purge FOLDER --older-than N UNIT [--style STYLE] [--by DATE] [--dry-run]";

// The request read from args, or the reason it cannot be.
struct ParsedCommand
{
    PurgeRequest request;
    QString problem;
};

ParsedCommand ParseArguments(const QStringList& args)
{
    ParsedCommand parsed;
    PurgeRequest& request = parsed.request;
    if (args.size() < 2 || args[0] != u"--purge") {
        parsed.problem = QStringLiteral("a folder is needed");
        return parsed;
    }
    request.folder = args[1];
    bool hasThreshold = false;
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString& option = args[i];
        const qsizetype valuesLeft = args.size() - i - 1;
        if (option == u"--older-than" && valuesLeft >= 2) {
            const std::optional<qint64> threshold = PurgeThreshold(args[++i]);
            const std::optional<TimeUnit> unit = ParseWord<TimeUnit>(args[++i]);
            if (!threshold || !unit) {
                parsed.problem =
                    QStringLiteral("--older-than takes a whole number and Minute, Hour, Day or Month");
                return parsed;
            }
            request.purgeVal = *threshold;
            request.purgeValOf = *unit;
            hasThreshold = true;
        } else if (option == u"--style" && valuesLeft >= 1) {
            const auto style = ParseWord<PurgeStyle>(args[++i]);
            if (!style) {
                parsed.problem = QStringLiteral(
                    "--style takes \"Files Only\", \"Include Files in Subfolders\" or \"Subfolders Only\"");
                return parsed;
            }
            request.style = *style;
        } else if (option == u"--by" && valuesLeft >= 1) {
            const auto dateKind = ParseWord<DateKind>(args[++i]);
            if (!dateKind) {
                parsed.problem = QStringLiteral(
                    "--by takes \"Date: Created\", \"Date: Last Modified\" or \"Date: Last Accessed\"");
                return parsed;
            }
            request.lookByDate = *dateKind;
        } else if (option == u"--dry-run") {
            request.dryRun = true;
        } else {
            parsed.problem = QStringLiteral("unexpected argument \"%1\"").arg(option);
            return parsed;
        }
    }
    if (!hasThreshold)
        parsed.problem = QStringLiteral("--older-than N UNIT is needed");
    else if (!IsFolderPath(request.folder))
        parsed.problem = QStringLiteral("\"%1\" is no folder").arg(request.folder);
    else if (IsFileSystemRoot(request.folder))
        parsed.problem = QStringLiteral("the file-system root is never purged");
    return parsed;
}

// A path as one line of output: as it is, or, when it holds a line break (or could be taken
// for a quoted one), in the shell's $'...' quoting with backslash, quote, LF and CR escaped.
QByteArray OutputLine(const QByteArray& path)
{
    if (!path.contains('\n') && !path.contains('\r') && !path.startsWith("$'"))
        return path + '\n';
    QByteArray line = "$'";
    for (const char c : path) {
        switch (c) {
        case '\\':
            line += "\\\\";
            break;
        case '\'':
            line += "\\'";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        default:
            line += c;
        }
    }
    return line + "'\n";
}

} // namespace

int PurgeCommandMain(const QStringList& args, const Clock& clock, const QStringList& protectedPaths,
                     QTextStream& out, QTextStream& err, const std::atomic_bool& stop)
{
    ParsedCommand parsed = ParseArguments(args);
    if (!parsed.problem.isEmpty()) {
        err << "scourwell: " << parsed.problem << "; " << Usage << Qt::endl;
        return 2;
    }
    parsed.request.protectedPaths = protectedPaths;
    // Paths go out as the file system's bytes where out has a device, so that a name which is
    // no valid UTF-8 is printed as it is. Once a write fails (a reader that went away) the
    // output ends, but the purge goes on.
    out.flush();
    QIODevice* const device = out.device();
    bool written = out.status() == QTextStream::Ok;
    const PurgeResult result = RunSchedule(parsed.request, clock, stop, [&](const QByteArray& path) {
        if (!written)
            return;
        const QByteArray line = OutputLine(path);
        if (device != nullptr)
            written = device->write(line) == line.size();
        else
            out << QFile::decodeName(line);
    });
    if (result.outcome == PurgeOutcome::NotOpened) {
        err << "scourwell: the folder \"" << parsed.request.folder
            << "\" could not be opened; nothing was deleted" << Qt::endl;
        return 1;
    }
    if (written)
        out << result.count << Qt::endl;
    const bool outputComplete = written && out.status() == QTextStream::Ok;
    if (!outputComplete)
        err << "scourwell: the output could not be written in full; the purge went on" << Qt::endl;
    if (result.outcome == PurgeOutcome::Stopped)
        return PurgeStoppedStatus;
    return outputComplete ? 0 : 1;
}
