// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillon/listmod.h"

#include <QAbstractTableModel>
#include <vector>

namespace quillon {

// The rows of the log list: "Log Filename" and "Last Modified", the full path as tooltip.
class LogFileModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        NameColumn = 0,
        ModifiedColumn = 1
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const LogFileRow& Row(int row) const { return m_rows.at(static_cast<size_t>(row)); }
    // The row showing the file at path, or -1.
    int RowOfPath(const QString& path) const;

    void SetRows(std::vector<LogFileRow> rows);
    void RemoveRow(int row);
    // Orders the rows by the column, names as text and times chronologically.
    void Sort(int column, bool ascending);

private:
    std::vector<LogFileRow> m_rows;
};

} // namespace quillon
