// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobconfig.h"

#include "config/jobtable.h"
#include "config/runtime.h"
#include "shared/atomicfile.h"
#include "shared/bytetext.h"
#include "shared/clsini.h"
#include "shared/inidocument.h"
#include "shared/programfolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString Initial = QStringLiteral("Initial");
const QString TotalJob = QStringLiteral("TotalJob");
const QString LookPurgeBy = QStringLiteral("LookPurgeBy");
const QString DeleteSpecific = QStringLiteral("DeleteSpecific");
// Beyond the two options of old: absent for the default, so a file that never chose otherwise
// stays as it was.
const QString MissedRunKey = QStringLiteral("MissedRun");
const QString RunResultsKey = QStringLiteral("RunResults");
// Whether new jobs move to the trash; absent when they delete.
const QString TrashNewJobsKey = QStringLiteral("NewJobsMoveToTrash");
// After how many days what runs moved to the trash is emptied; absent for the default.
const QString TrashDaysKey = QStringLiteral("TrashDays");
// A job's own setting after its ten keys, absent when it deletes.
const QString MoveToTrashKey = QStringLiteral("MoveToTrash");
const QString On = QStringLiteral("1");

// A flag as 1, or no key when it is off.
void SetFlag(IniDocument& doc, const QString& section, const QString& key, bool on)
{
    if (on)
        doc.SetValue(section, key, On);
    else
        doc.RemoveValue(section, key);
}

// A later choice's word, or no key for the default (which has no word).
template <typename T> void SetChoice(IniDocument& doc, const QString& key, T choice)
{
    if (const QString word = Spelling(choice); word.isEmpty())
        doc.RemoveValue(Initial, key);
    else
        doc.SetValue(Initial, key, word);
}

// A field of the row as the text the file holds, and that text put back into it.
const QString& TextOf(const QString& field)
{
    return field;
}

template <typename T> const QString& TextOf(const StoredWord<T>& field)
{
    return field.Text();
}

void Assign(QString& field, const QString& text)
{
    field = text;
}

template <typename T> void Assign(StoredWord<T>& field, const QString& text)
{
    field = StoredWord<T>(text);
}

// The keys of a job section in the order they are written, each with the field it fills.
struct JobKey
{
    QString name;
    const QString& (*read)(const JobRow& row);
    void (*write)(JobRow& row, const QString& text);
    bool recurrence;
};

template <auto Field> JobKey Key(const char* name, bool recurrence = false)
{
    return {QString::fromLatin1(name), [](const JobRow& row) -> const QString& { return TextOf(row.*Field); },
            [](JobRow& row, const QString& text) { Assign(row.*Field, text); }, recurrence};
}

const JobKey JobKeys[] = {
    Key<&JobRow::FolderLoc>("FolderLoc"),
    Key<&JobRow::Status>("Status"),
    Key<&JobRow::ValPurge>("ValPurge"),
    Key<&JobRow::ValOfPurge>("ValOfPurge"),
    Key<&JobRow::Style>("Style"),
    Key<&JobRow::FileFolderStyle>("FileFolderStyle"),
    Key<&JobRow::ValEvery>("ValEvery", true),
    Key<&JobRow::ValOfEvery>("ValOfEvery", true),
    Key<&JobRow::NextRun>("NextRun"),
    Key<&JobRow::Description>("Description"),
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

// The lookup of a path that includes folders: an entry that exists. Hidden entries are those
// inside a job folder; the folder the person named is found whatever its name (~/.cache). A
// relative path would depend on the working folder, so it is not found; nor is any error. The
// name is looked up as the bytes it stands for, which need not be UTF-8.
bool FolderFound(const QString& folder)
{
    return !folder.isEmpty() && !QDir::isRelativePath(folder) && PathExists(QDir::cleanPath(folder));
}

// Compared as wall-clock fields, so a run time that the clock skips or repeats keeps its place.
bool Passed(const QString& nextRun, const WallClockTime& nowMinute)
{
    const std::optional<WallClockTime> next = ParseFullForm(nextRun);
    return !next || *next < nowMinute; // not a date-time: the row shows, but is never due
}

// A Status other than "Enabled" or "Disabled" ("Off", "0") is shown as disabled: such a row is
// never launched, and showing it enabled would say that it runs.
RowIcon LoadedIcon(const JobRow& row, const WallClockTime& nowMinute)
{
    const bool passed = Passed(row.NextRun, nowMinute);
    if (row.Status.Is(JobStatus::Enabled))
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

JobRow ReadJob(const IniDocument& doc, const QString& section, const WallClockTime& nowMinute)
{
    static const QStringList names = JobKeyNames();
    const QStringList values = doc.Values(section, names);
    JobRow row;
    for (size_t i = 0; i < std::size(JobKeys); ++i)
        JobKeys[i].write(row, values[static_cast<qsizetype>(i)]);
    row.MoveToTrash = doc.Value(section, MoveToTrashKey) == On;
    row.icon = FolderFound(row.FolderLoc) ? LoadedIcon(row, nowMinute) : RowIcon::FolderMissing;
    return row;
}

// Every value is written so that it reads back as it is, but for the recurrence of a Specific
// job, which the editor sets to a single blank: that is written plain and reads back empty.
IniDocument::Quoting QuotingOf(const JobKey& key, const JobRow& row)
{
    return key.recurrence && row.Style.Is(ScheduleKind::Specific) && key.read(row) == QLatin1String(" ")
               ? IniDocument::Quoting::Plain
               : IniDocument::Quoting::Exact;
}

void WriteJob(IniDocument& doc, const QString& section, const JobRow& row)
{
    QList<IniDocument::Setting> values;
    values.reserve(static_cast<qsizetype>(std::size(JobKeys)));
    for (const JobKey& key : JobKeys)
        values.append({key.name, key.read(row), QuotingOf(key, row)});
    doc.SetValues(section, values);
    SetFlag(doc, section, MoveToTrashKey, row.MoveToTrash);
}

// A hand-edited count that is no whole number of days the records cover is the default: an
// item is never emptied sooner than was chosen.
int TrashDaysOf(const QString& text)
{
    bool ok = false;
    const int days = text.toInt(&ok);
    return ok && days >= 0 && days <= MaxTrashDays ? days : DefaultTrashDays;
}

QByteArray FingerprintOf(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
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
    // Any other text, a hand-edited typo included, is the default: nothing runs that was not asked.
    table.SetMissedRunChoice(
        ParseWord<MissedRun>(doc.Value(Initial, MissedRunKey)).value_or(MissedRun::Wait));
    table.SetRunResultsChoice(
        ParseWord<RunResults>(doc.Value(Initial, RunResultsKey)).value_or(RunResults::WhenDeleted));
    table.SetNewJobsMoveToTrash(doc.Value(Initial, TrashNewJobsKey) == On);
    table.SetTrashDays(TrashDaysOf(doc.Value(Initial, TrashDaysKey)));
}

void LoadJobList(JobTable& table, const QString& programFolder, const QDateTime& now)
{
    IniDocument doc;
    doc.Load(ConfigDatPath(programFolder));
    const WallClockTime nowMinute = WallClockTime::Of(now);
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

bool SaveJobList(JobTable& table, const QString& programFolder, QByteArray* fingerprint)
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
    if (fingerprint)
        *fingerprint = FingerprintOf(doc.ToBytes());
    table.MarkSaved();
    return true;
}

bool SaveOptions(const QString& programFolder, const QString& lookPurgeBy, const QString& deleteSpecific,
                 MissedRun missedRun, RunResults runResults, std::optional<bool> newJobsMoveToTrash,
                 std::optional<int> trashDays)
{
    const QString path = ConfigDatPath(programFolder);
    IniDocument doc;
    if (!doc.Load(path))
        return false;
    doc.SetValue(Initial, LookPurgeBy, lookPurgeBy);
    doc.SetValue(Initial, DeleteSpecific, deleteSpecific);
    SetChoice(doc, MissedRunKey, missedRun);
    SetChoice(doc, RunResultsKey, runResults);
    if (newJobsMoveToTrash)
        SetFlag(doc, Initial, TrashNewJobsKey, *newJobsMoveToTrash);
    if (trashDays && *trashDays == DefaultTrashDays)
        doc.RemoveValue(Initial, TrashDaysKey);
    else if (trashDays)
        doc.SetValue(Initial, TrashDaysKey, QString::number(*trashDays));
    return doc.Save(path);
}

bool DeleteJobSection(const QString& programFolder, const QString& section)
{
    clsIni ini;
    ini.SetIniPath(ConfigDatPath(programFolder));
    return ini.DeleteSection(section);
}

QByteArray ConfigFingerprint(const QString& programFolder)
{
    QFile file(ConfigDatPath(programFolder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return FingerprintOf(file.readAll());
}

bool FolderRoundTrips(const QString& folder)
{
    return IniDocument::ValueRoundTrips(folder);
}
