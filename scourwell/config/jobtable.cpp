#include "config/jobtable.h"

#include "ui/sortlistview.h"

#include <algorithm>

JobTable::JobTable(QObject* parent) : QObject(parent) {}

int JobTable::IndexOf(quint64 id) const
{
    const auto it = std::find_if(m_rows.begin(), m_rows.end(), [id](const JobRow& r) { return r.id == id; });
    return it == m_rows.end() ? -1 : static_cast<int>(it - m_rows.begin());
}

quint64 JobTable::Append(JobRow row)
{
    row.id = m_nextId++;
    const int index = Count();
    Q_EMIT RowAboutToBeInserted(index);
    m_rows.push_back(std::move(row));
    Q_EMIT RowInserted(index);
    return m_rows.back().id;
}

void JobTable::Update(int index, JobRow row)
{
    row.id = m_rows[static_cast<size_t>(index)].id;
    if (m_rows[static_cast<size_t>(index)] == row)
        return;
    m_rows[static_cast<size_t>(index)] = std::move(row);
    Q_EMIT RowChanged(index);
}

void JobTable::SetIcon(int index, int icon)
{
    JobRow& row = m_rows[static_cast<size_t>(index)];
    if (row.icon == icon)
        return;
    row.icon = icon;
    Q_EMIT RowChanged(index);
}

void JobTable::Remove(int index)
{
    Q_EMIT RowAboutToBeRemoved(index);
    m_rows.erase(m_rows.begin() + index);
    Q_EMIT RowRemoved(index);
}

void JobTable::Reset(std::vector<JobRow> rows)
{
    Q_EMIT AboutToReset();
    m_rows = std::move(rows);
    for (JobRow& row : m_rows)
        row.id = m_nextId++;
    Q_EMIT ResetDone();
}

void JobTable::Sort(int column, SortKind kind, bool ascending)
{
    Q_EMIT LayoutAboutToChange();
    SortRows(m_rows, kind, ascending,
             [column](const JobRow& r) -> const QString& { return r.Cell(column).text; });
    Q_EMIT LayoutChanged();
}

void JobTable::SetOptions(const QString& lookPurgeBy, const QString& deleteSpecific)
{
    m_lookPurgeBy = lookPurgeBy;
    m_deleteSpecific = deleteSpecific;
    Q_EMIT OptionsChanged();
}
