// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/purgecommand.h"

#include "config/jobwords.h"
#include "purge/purgeengine.h"
#include "shared/bytetext.h"
#include "shared/localzone.h"

#include <QDateTime>
#include <QFile>

namespace {

const char Usage[] = "usage: scourwell --purge FOLDER --older-than N UNIT [--style STYLE] [--by DATE] "
                     "[--trash] [--dry-run [--verbose] [--format text|tsv]]";

// How a dry run reports its decisions.
enum class ReportFormat
{
    Text,
    Tsv
};

// The request read from args, or the reason it cannot be.
struct ParsedCommand
{
    PurgeRequest request;
    ReportFormat format = ReportFormat::Text;
    bool withKept = false; // a dry run also reports what stays, and why
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
        } else if (option == u"--trash") {
            request.removal = Removal::MoveToTrash;
        } else if (option == u"--dry-run") {
            request.dryRun = true;
        } else if (option == u"--verbose") {
            parsed.withKept = true;
        } else if (option == u"--format" && valuesLeft >= 1) {
            const QString format = args[++i];
            if (format != u"text" && format != u"tsv") {
                parsed.problem = QStringLiteral("--format takes text or tsv");
                return parsed;
            }
            parsed.format = format == u"tsv" ? ReportFormat::Tsv : ReportFormat::Text;
        } else {
            parsed.problem = QStringLiteral("unexpected argument \"%1\"").arg(option);
            return parsed;
        }
    }
    const bool reportOptions = parsed.withKept || args.contains(QStringLiteral("--format"));
    if (!hasThreshold)
        parsed.problem = QStringLiteral("--older-than N UNIT is needed");
    else if (reportOptions && !request.dryRun)
        parsed.problem = QStringLiteral("--verbose and --format go with --dry-run");
    else if (!IsFolderPath(request.folder))
        parsed.problem = QStringLiteral("\"%1\" is no folder").arg(request.folder);
    else if (IsFileSystemRoot(request.folder))
        parsed.problem = QStringLiteral("the file-system root is never purged");
    return parsed;
}

enum class Tabs
{
    Kept,
    Escaped // the path is a field of a tab-separated line
};

// A path as the end of a line of output: as it is, or, when it holds a line break (or a tab
// in a tab-separated line, or could be taken for a quoted one), in the shell's $'...' quoting
// with backslash, quote, LF, CR and tab escaped.
QByteArray OutputPath(QByteArrayView path, Tabs tabs)
{
    const bool hasTab = tabs == Tabs::Escaped && path.contains('\t');
    if (!hasTab && !path.contains('\n') && !path.contains('\r') && !path.startsWith("$'"))
        return path.toByteArray();
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
        case '\t':
            line += "\\t";
            break;
        default:
            line += c;
        }
    }
    return line + '\'';
}

// A reason as the tsv form writes it, for scripts; the text form writes ReasonWords.
struct ReasonTsv
{
    DecisionReason reason;
    const char* word;
};

constexpr ReasonTsv ReasonTsvTable[] = {
    {DecisionReason::OldEnough, "old-enough"},
    {DecisionReason::TooYoung, "too-young"},
    {DecisionReason::Hidden, "hidden"},
    {DecisionReason::Protected, "protected"},
    {DecisionReason::OtherFileSystem, "other-file-system"},
    {DecisionReason::NotRegular, "not-regular"},
    {DecisionReason::Unreadable, "unreadable"},
    {DecisionReason::HoldsKept, "holds-kept"},
};

QByteArray TsvWord(DecisionReason reason)
{
    return std::find_if(std::begin(ReasonTsvTable), std::end(ReasonTsvTable),
                        [reason](const ReasonTsv& tsv) { return tsv.reason == reason; })
        ->word;
}

// A dry run's line for one decision. Text: what happens, kind, size, the date used, age and
// path; tsv: action, reason, kind, bytes, date (local, ISO 8601), age in the job's unit, path.
QByteArray DecisionLine(const ItemDecision& decision, ReportFormat format, TimeUnit unit)
{
    const QByteArray date = decision.date ? LocalWallTime(*decision.date)
                                                .toString(format == ReportFormat::Tsv ? u"yyyy-MM-ddTHH:mm:ss"
                                                                                      : u"yyyy-MM-dd HH:mm")
                                                .toLatin1()
                                          : QByteArray(format == ReportFormat::Tsv ? "" : "-");
    if (format == ReportFormat::Tsv)
        return QByteArrayList{decision.Removes() ? "delete" : "keep",
                              TsvWord(decision.reason),
                              KindWord(decision.kind),
                              QByteArray::number(decision.size),
                              date,
                              decision.date ? QByteArray::number(decision.age) : QByteArray(),
                              OutputPath(decision.path, Tabs::Escaped)}
                   .join('\t') +
               '\n';
    const QByteArray action = decision.Removes() ? QByteArray("would delete")
                                                 : QByteArray("keep (") + ReasonWords(decision.reason) + ')';
    const QByteArray age = decision.date
                               ? QByteArray::number(decision.age) + ' ' +
                                     Spelling(unit).toLower().toLatin1() + (decision.age == 1 ? "" : "s")
                               : QByteArray("-");
    return QByteArrayList{action,
                          KindWord(decision.kind),
                          QByteArray::number(decision.size) + " bytes",
                          date,
                          age,
                          OutputPath(decision.path, Tabs::Kept)}
               .join("  ") +
           '\n';
}

QByteArray TotalsLine(const PurgeResult& result, ReportFormat format)
{
    if (format == ReportFormat::Tsv)
        return "total\t" + QByteArray::number(result.files) + '\t' + QByteArray::number(result.folders) +
               '\t' + QByteArray::number(result.bytes) + '\n';
    return "would delete " + QByteArray::number(result.files) + " files, " +
           QByteArray::number(result.folders) + " folders, " + QByteArray::number(result.bytes) + " bytes\n";
}

// Lines out as the file system's bytes where out has a device, so that a name which is no
// valid UTF-8 is printed as it is. Once a write fails (a reader that went away) the output
// ends.
class LineWriter
{
public:
    explicit LineWriter(QTextStream& out) : m_out(out), m_device(out.device())
    {
        m_out.flush();
        m_written = m_out.status() == QTextStream::Ok;
    }
    void Write(const QByteArray& line)
    {
        if (!m_written)
            return;
        if (m_device != nullptr)
            m_written = m_device->write(line) == line.size();
        else
            m_out << QFile::decodeName(line);
    }
    bool Complete() const { return m_written && m_out.status() == QTextStream::Ok; }

private:
    QTextStream& m_out;
    QIODevice* const m_device;
    bool m_written = true;
};

} // namespace

int PurgeCommandMain(const QStringList& args, const Clock& clock, const QStringList& protectedPaths,
                     QTextStream& out, QTextStream& err, const std::atomic_bool& stop)
{
    ParsedCommand parsed = ParseArguments(args);
    if (!parsed.problem.isEmpty()) {
        err << "scourwell: " << parsed.problem << "; " << Usage << Qt::endl;
        return 2;
    }
    const PurgeRequest& request = parsed.request;
    parsed.request.protectedPaths = protectedPaths;
    // A failed write ends the output, but the purge goes on.
    LineWriter writer(out);
    std::function<void(const QByteArray&)> onDeleted;
    std::function<void(const ItemDecision&)> onDecision;
    if (!request.dryRun) {
        onDeleted = [&](const QByteArray& path) { writer.Write(OutputPath(path, Tabs::Kept) + '\n'); };
    } else {
        if (parsed.format == ReportFormat::Tsv)
            writer.Write("action\treason\tkind\tbytes\tdate\tage\tpath\n");
        onDecision = [&](const ItemDecision& decision) {
            if (decision.Removes() || parsed.withKept)
                writer.Write(DecisionLine(decision, parsed.format, request.purgeValOf));
        };
    }
    const PurgeResult result = RunSchedule(request, clock, stop, onDeleted, {}, onDecision);
    if (result.outcome == PurgeOutcome::NotOpened) {
        err << "scourwell: the folder \"" << parsed.request.folder
            << "\" could not be opened; nothing was deleted" << Qt::endl;
        return 1;
    }
    writer.Write(request.dryRun ? TotalsLine(result, parsed.format)
                                : QByteArray::number(result.count) + '\n');
    const bool outputComplete = writer.Complete();
    if (!outputComplete)
        err << "scourwell: the output could not be written in full; the purge went on" << Qt::endl;
    if (result.outcome == PurgeOutcome::Stopped)
        return PurgeStoppedStatus;
    return outputComplete ? 0 : 1;
}
