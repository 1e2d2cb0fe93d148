// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon/logfilemodel.h"

#include "shared/sortlistview.h"

namespace quillon {

int LogFileModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int LogFileModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant LogFileModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const LogFileRow& row = Row(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == NameColumn ? row.name : row.modified;
    case Qt::ToolTipRole:
        return row.path;
    case Qt::TextAlignmentRole:
        if (index.column() == ModifiedColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant LogFileModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return section == NameColumn ? tr("Log Filename") : tr("Last Modified");
    if (role == Qt::TextAlignmentRole && section == ModifiedColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

int LogFileModel::RowOfPath(const QString& path) const
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].path == path)
            return static_cast<int>(i);
    }
    return -1;
}

void LogFileModel::SetRows(std::vector<LogFileRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void LogFileModel::RemoveRow(int row)
{
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void LogFileModel::Sort(int column, bool ascending)
{
    const SortKind kind = column == NameColumn ? SortKind::Text : SortKind::Date;
    beginResetModel();
    SortListView(m_rows, kind, ascending,
                 [column](const LogFileRow& row) { return column == NameColumn ? row.name : row.modified; });
    endResetModel();
}

} // namespace quillon
