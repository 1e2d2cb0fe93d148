// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/jobrow.h"
#include "config/jobwords.h"

#include <QObject>
#include <optional>
#include <vector>

enum class SortKind;

// What runs moved to the trash is emptied after this many days unless chosen otherwise, and
// at most after as many days as the records of runs, which name those items, are kept.
constexpr int DefaultTrashDays = 30;
constexpr int MaxTrashDays = 90;

// The in-memory job table: ordered rows with a stable identity each, and the two global
// options. Every change goes through these methods so that a view can follow it by the
// signals. Indices are 0-based here; the procedures that take a 1-based row say so.
class JobTable : public QObject
{
    Q_OBJECT

public:
    explicit JobTable(QObject* parent = nullptr);

    int Count() const { return static_cast<int>(m_rows.size()); }
    bool IsEmpty() const { return m_rows.empty(); }
    const JobRow& Row(int index) const { return m_rows[static_cast<size_t>(index)]; }
    const std::vector<JobRow>& Rows() const { return m_rows; }
    // -1 when no row has this id (it was removed).
    int IndexOf(quint64 id) const;

    // Appends a row and gives it a fresh id, which is returned. A sorted table puts it in
    // its sorted place.
    quint64 Append(JobRow row);
    // Replaces the content of row index, keeping its id; in a sorted table the row moves to
    // its sorted place when its key text changed.
    void Update(int index, JobRow row);
    void SetIcon(int index, RowIcon icon);
    // Shows the running icon, keeping the row's own as its saved icon, which the status tick
    // gives back once the run is over.
    void ShowRunning(int index);
    // The icon the row shows, or, while it shows running, the one it gets back after the run.
    void SetIconAfterRun(int index, RowIcon icon);
    void Remove(int index);
    // Replaces all rows (load); each gets a fresh id.
    void Reset(std::vector<JobRow> rows);
    // Sorts the rows in place by list column 1..7; the order is what the next save writes.
    // The table stays sorted so until it is loaded again.
    void Sort(int column, SortKind kind, bool ascending);

    // Whether the table holds changes that a save would write (rows, their fields, their
    // order) and that no save has written yet; icons are not saved and do not count.
    bool IsDirty() const { return m_dirty; }
    void MarkSaved() { m_dirty = false; }

    // LookPurgeBy: the date kind, shown in status bar panel 3 as it is written.
    const StoredWord<DateKind>& LookPurgeBy() const { return m_lookPurgeBy; }
    // DeleteSpecific: "1" removes a Specific job after its run, "0" keeps it as passed.
    const QString& DeleteSpecific() const { return m_deleteSpecific; }
    void SetOptions(const QString& lookPurgeBy, const QString& deleteSpecific);
    // What the check timer does with a missed run; OptionsChanged only when it changes.
    MissedRun MissedRunChoice() const { return m_missedRun; }
    void SetMissedRunChoice(MissedRun choice);
    // Which ended runs the windows tell about; OptionsChanged only when it changes.
    RunResults RunResultsChoice() const { return m_runResults; }
    void SetRunResultsChoice(RunResults choice);
    // Whether the editor starts a new job moving to the trash (off unless chosen);
    // OptionsChanged only when it changes.
    bool NewJobsMoveToTrash() const { return m_newJobsMoveToTrash; }
    void SetNewJobsMoveToTrash(bool on);
    // After how many days what runs moved to the trash is emptied from it; 0 never.
    // OptionsChanged only when it changes.
    int TrashDays() const { return m_trashDays; }
    void SetTrashDays(int days);

Q_SIGNALS:
    void RowChanged(int index);
    void RowAboutToBeInserted(int index);
    void RowInserted(int index);
    void RowAboutToBeRemoved(int index);
    void RowRemoved(int index);
    void AboutToReset();
    void ResetDone();
    void LayoutAboutToChange();
    void LayoutChanged();
    void OptionsChanged();

private:
    struct SortMode
    {
        int column;
        SortKind kind;
        bool ascending;
    };

    void MoveToSortedPlace(int index);
    // Sets an option, telling OptionsChanged when it changes.
    template <typename T> void SetOption(T& option, T value);

    std::vector<JobRow> m_rows;
    std::optional<SortMode> m_sort;
    bool m_dirty = false;
    quint64 m_nextId = 1;
    StoredWord<DateKind> m_lookPurgeBy;
    QString m_deleteSpecific;
    MissedRun m_missedRun = MissedRun::Wait;
    RunResults m_runResults = RunResults::WhenDeleted;
    bool m_newJobsMoveToTrash = false;
    int m_trashDays = DefaultTrashDays;
};
