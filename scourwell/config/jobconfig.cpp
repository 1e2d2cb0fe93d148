#include "config/jobconfig.h"

#include "config/atomicfile.h"
#include "config/bytetext.h"
#include "config/clsini.h"
#include "config/inidocument.h"
#include "config/jobtable.h"
#include "config/programfolder.h"
#include "schedule/runtime.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString Initial = QStringLiteral("Initial");
const QString TotalJob = QStringLiteral("TotalJob");
const QString LookPurgeBy = QStringLiteral("LookPurgeBy");
const QString DeleteSpecific = QStringLiteral("DeleteSpecific");

// The keys of a job section in the order they are written, with the cell of the row each one
// fills: cell 0 is the row itself, 1..6 the sub-items.
struct JobKey
{
    QString name;
    int cell;
    bool isTag;
};
const JobKey JobKeys[] = {
    {QStringLiteral("FolderLoc"), 0, false}, {QStringLiteral("Status"), 0, true},
    {QStringLiteral("ValPurge"), 1, false},  {QStringLiteral("ValOfPurge"), 2, false},
    {QStringLiteral("Style"), 3, false},     {QStringLiteral("FileFolderStyle"), 3, true},
    {QStringLiteral("ValEvery"), 4, false},  {QStringLiteral("ValOfEvery"), 5, false},
    {QStringLiteral("NextRun"), 6, false},   {QStringLiteral("Description"), 2, true},
};

// The most jobs the table numbers (a 16-bit count, as TotalJob always was).
constexpr int MaxJobs = 32767;

// The numbered sections 1..span hold the job list. TotalJob gives the span when it is a whole
// number from 0 to MaxJobs. A hand-edited TotalJob that is not such a number (text, negative,
// beyond 16 bits) gives MaxJobs, so that every job section still in the file is shown, and
// saved back, rather than lost; the bound keeps a huge count from running away.
int JobSpan(const IniDocument& doc)
{
    bool ok = false;
    const int total = doc.Value(Initial, TotalJob).toInt(&ok);
    return ok && total >= 0 && total <= MaxJobs ? total : MaxJobs;
}

// The lookup of a path that includes folders: an entry that exists and is not hidden. A
// relative path would depend on the working folder, so it is not found; nor is any error. The
// name is looked up as the bytes it stands for, which need not be UTF-8.
bool FolderFound(const QString& folder)
{
    if (folder.isEmpty() || QDir::isRelativePath(folder))
        return false;
    const QString cleaned = QDir::cleanPath(folder);
    return PathExists(cleaned) && !QFileInfo(cleaned).fileName().startsWith(QLatin1Char('.'));
}

// Compared as wall-clock fields, so a run time that the clock skips or repeats keeps its place.
bool Passed(const QString& nextRun, const QDateTime& nowMinute)
{
    const std::optional<QDateTime> next = ParseWallClock(nextRun);
    return !next || *next < nowMinute; // not a date-time: the row shows, but is never due
}

int LoadedIcon(const QString& status, const QString& nextRun, const QDateTime& nowMinute)
{
    const QString lower = status.toLower();
    const bool enabled = lower == QLatin1String("enabled");
    if (!enabled && lower != QLatin1String("disabled"))
        return RowIcon::Enabled;
    const bool passed = Passed(nextRun, nowMinute);
    if (enabled)
        return passed ? RowIcon::EnabledPassed : RowIcon::Enabled;
    return passed ? RowIcon::DisabledPassed : RowIcon::Disabled;
}

QStringList JobKeyNames()
{
    QStringList names;
    for (const JobKey& key : JobKeys)
        names.append(key.name);
    return names;
}

JobRow ReadJob(const IniDocument& doc, const QString& section, const QDateTime& nowMinute)
{
    static const QStringList names = JobKeyNames();
    const QStringList values = doc.Values(section, names);
    JobRow row;
    for (size_t i = 0; i < std::size(JobKeys); ++i) {
        JobCell& cell = row.cells[static_cast<size_t>(JobKeys[i].cell)];
        (JobKeys[i].isTag ? cell.tag : cell.text) = values[static_cast<qsizetype>(i)];
    }
    row.toolTip = row.FolderLoc();
    row.icon = FolderFound(row.FolderLoc()) ? LoadedIcon(row.Status(), row.NextRun(), nowMinute)
                                            : RowIcon::FolderMissing;
    return row;
}

// Every value is written so that it reads back as it is, but for the recurrence of a Specific
// job, which the editor sets to a single blank: that is written plain and reads back empty.
IniDocument::Quoting QuotingOf(const JobKey& key, const JobRow& row)
{
    const bool recurrence = key.cell == 4 || key.cell == 5;
    const bool specific = row.Style().compare(QLatin1String("specific"), Qt::CaseInsensitive) == 0;
    const QString& value = row.cells[static_cast<size_t>(key.cell)].text;
    return recurrence && specific && value == QLatin1String(" ") ? IniDocument::Quoting::Plain
                                                                 : IniDocument::Quoting::Exact;
}

void WriteJob(IniDocument& doc, const QString& section, const JobRow& row)
{
    QList<IniDocument::Setting> values;
    values.reserve(static_cast<qsizetype>(std::size(JobKeys)));
    for (const JobKey& key : JobKeys) {
        const JobCell& cell = row.cells[static_cast<size_t>(key.cell)];
        values.append({key.name, key.isTag ? cell.tag : cell.text, QuotingOf(key, row)});
    }
    doc.SetValues(section, values);
}

} // namespace

bool CreateDefaultConfig(const QString& programFolder)
{
    const QString path = ConfigDatPath(programFolder);
    // Whatever is there already is left alone; only a file counts as the configuration.
    const QFileInfo existing(path);
    if (existing.exists())
        return existing.isFile();
    return WriteFileAtomically(path, QByteArrayLiteral("# 0 = False, 1 = True\r\n"
                                                       "# TotalJob is not a false or true condition. "
                                                       "Must input Integer\r\n"
                                                       "\r\n"
                                                       "[Initial]\r\n"
                                                       "LookPurgeBy=Date: Last Modified\r\n"
                                                       "DeleteSpecific=0\r\n"
                                                       "TotalJob=0\r\n"
                                                       "\r\n"));
}

void LoadOptions(JobTable& table, const QString& programFolder)
{
    IniDocument doc;
    doc.Load(ConfigDatPath(programFolder));
    table.SetOptions(doc.Value(Initial, LookPurgeBy), doc.Value(Initial, DeleteSpecific));
}

void LoadJobList(JobTable& table, const QString& programFolder, const QDateTime& now)
{
    IniDocument doc;
    doc.Load(ConfigDatPath(programFolder));
    const QDateTime nowMinute = PresentMinute(now);
    const int span = JobSpan(doc);
    std::vector<JobRow> rows;
    // A numbered section that is missing is passed over: no empty job is made up for it.
    for (int i = 1; i <= span; ++i) {
        const QString section = QString::number(i);
        if (doc.HasSection(section))
            rows.push_back(ReadJob(doc, section, nowMinute));
    }
    table.Reset(std::move(rows));
}

bool SaveJobList(JobTable& table, const QString& programFolder)
{
    const QString path = ConfigDatPath(programFolder);
    IniDocument doc;
    // An unreadable file is not replaced: its other sections would be lost.
    if (!doc.Load(path))
        return false;
    const int oldSpan = JobSpan(doc);
    for (int s = 1; s <= oldSpan; ++s)
        doc.RemoveSection(QString::number(s));
    for (int i = 0; i < table.Count(); ++i)
        WriteJob(doc, QString::number(i + 1), table.Row(i));
    doc.SetValue(Initial, TotalJob, QString::number(table.Count()));
    if (!doc.Save(path))
        return false;
    table.MarkSaved();
    return true;
}

bool SaveOptions(const QString& programFolder, const QString& lookPurgeBy, const QString& deleteSpecific)
{
    const QString path = ConfigDatPath(programFolder);
    IniDocument doc;
    if (!doc.Load(path))
        return false;
    doc.SetValue(Initial, LookPurgeBy, lookPurgeBy);
    doc.SetValue(Initial, DeleteSpecific, deleteSpecific);
    return doc.Save(path);
}

bool DeleteJobSection(const QString& programFolder, const QString& section)
{
    clsIni ini;
    ini.SetIniPath(ConfigDatPath(programFolder));
    return ini.DeleteSection(section);
}

bool FolderRoundTrips(const QString& folder)
{
    return IniDocument::ValueRoundTrips(folder);
}
