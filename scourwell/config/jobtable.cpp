// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobtable.h"

#include "shared/sortlistview.h"

#include <algorithm>

namespace {

// What a save writes of a row: all but its icon and the icon the status relay keeps aside
// while the job runs.
bool SameSavedContent(JobRow a, const JobRow& b)
{
    a.icon = b.icon;
    a.savedIcon = b.savedIcon;
    return a == b;
}

} // namespace

JobTable::JobTable(QObject* parent) : QObject(parent) {}

int JobTable::IndexOf(quint64 id) const
{
    const auto it = std::find_if(m_rows.begin(), m_rows.end(), [id](const JobRow& r) { return r.id == id; });
    return it == m_rows.end() ? -1 : static_cast<int>(it - m_rows.begin());
}

quint64 JobTable::Append(JobRow row)
{
    row.id = m_nextId++;
    const quint64 id = row.id;
    const int index = Count();
    Q_EMIT RowAboutToBeInserted(index);
    m_rows.push_back(std::move(row));
    m_dirty = true;
    Q_EMIT RowInserted(index);
    MoveToSortedPlace(index);
    return id;
}

void JobTable::Update(int index, JobRow row)
{
    JobRow& old = m_rows[static_cast<size_t>(index)];
    row.id = old.id;
    if (old == row)
        return;
    m_dirty = m_dirty || !SameSavedContent(old, row);
    const bool keyChanged =
        m_sort && JobColumnText(old, m_sort->column) != JobColumnText(row, m_sort->column);
    old = std::move(row);
    Q_EMIT RowChanged(index);
    if (keyChanged)
        MoveToSortedPlace(index);
}

void JobTable::SetIcon(int index, RowIcon icon)
{
    JobRow& row = m_rows[static_cast<size_t>(index)];
    if (row.icon == icon)
        return;
    row.icon = icon;
    Q_EMIT RowChanged(index);
}

void JobTable::ShowRunning(int index)
{
    JobRow row = Row(index);
    if (row.icon == RowIcon::Running)
        return;
    row.savedIcon = row.icon;
    row.icon = RowIcon::Running;
    Update(index, std::move(row));
}

void JobTable::SetIconAfterRun(int index, RowIcon icon)
{
    if (Row(index).icon != RowIcon::Running) {
        SetIcon(index, icon);
        return;
    }
    JobRow row = Row(index);
    row.savedIcon = icon;
    Update(index, std::move(row));
}

void JobTable::Remove(int index)
{
    Q_EMIT RowAboutToBeRemoved(index);
    m_rows.erase(m_rows.begin() + index);
    m_dirty = true;
    Q_EMIT RowRemoved(index);
}

void JobTable::Reset(std::vector<JobRow> rows)
{
    Q_EMIT AboutToReset();
    m_rows = std::move(rows);
    for (JobRow& row : m_rows)
        row.id = m_nextId++;
    m_sort.reset();
    m_dirty = false;
    Q_EMIT ResetDone();
}

void JobTable::Sort(int column, SortKind kind, bool ascending)
{
    m_sort = SortMode{column, kind, ascending};
    Q_EMIT LayoutAboutToChange();
    std::vector<quint64> before;
    before.reserve(m_rows.size());
    for (const JobRow& row : m_rows)
        before.push_back(row.id);
    SortListView(m_rows, kind, ascending,
                 [column](const JobRow& r) -> const QString& { return JobColumnText(r, column); });
    m_dirty = m_dirty || !std::equal(before.begin(), before.end(), m_rows.begin(),
                                     [](quint64 id, const JobRow& row) { return id == row.id; });
    Q_EMIT LayoutChanged();
}

// The other rows are in order, so the row belongs after every one that sorts before it or
// equal to it.
void JobTable::MoveToSortedPlace(int index)
{
    if (!m_sort)
        return;
    const SortMode sort = *m_sort;
    const QString key = SortKey(JobColumnText(Row(index), sort.column), sort.kind);
    int place = 0;
    for (int i = 0; i < Count(); ++i) {
        if (i == index)
            continue;
        const int c = CompareKeys(SortKey(JobColumnText(Row(i), sort.column), sort.kind), key, sort.kind);
        if (sort.ascending ? c <= 0 : c >= 0)
            ++place;
    }
    if (place == index)
        return;
    Q_EMIT LayoutAboutToChange();
    JobRow row = std::move(m_rows[static_cast<size_t>(index)]);
    m_rows.erase(m_rows.begin() + index);
    m_rows.insert(m_rows.begin() + place, std::move(row));
    m_dirty = true;
    Q_EMIT LayoutChanged();
}

void JobTable::SetOptions(const QString& lookPurgeBy, const QString& deleteSpecific)
{
    m_lookPurgeBy = StoredWord<DateKind>(lookPurgeBy);
    m_deleteSpecific = deleteSpecific;
    Q_EMIT OptionsChanged();
}

void JobTable::SetMissedRunChoice(MissedRun choice)
{
    SetOption(m_missedRun, choice);
}

void JobTable::SetRunResultsChoice(RunResults choice)
{
    SetOption(m_runResults, choice);
}

void JobTable::SetNewJobsMoveToTrash(bool on)
{
    SetOption(m_newJobsMoveToTrash, on);
}

void JobTable::SetTrashDays(int days)
{
    SetOption(m_trashDays, days);
}

template <typename T> void JobTable::SetOption(T& option, T value)
{
    if (option == value)
        return;
    option = value;
    Q_EMIT OptionsChanged();
}
