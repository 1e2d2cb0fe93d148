// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/jobrow.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QStyledItemDelegate>
#include <array>
#include <vector>

class JobTable;

// The job table as the seven columns of ListView1. The first column's accessible description
// is the row icon in words. It follows the table's change signals
// one row at a time, so a timer tick that changes an icon keeps the selection and scroll.
class JobTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int ColumnCount = JobColumnCount;

    explicit JobTableModel(JobTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void TableRowChanged(int index);
    void TableLayoutAboutToChange();
    void TableLayoutChanged();

    JobTable& m_table;
    std::array<QIcon, 6> m_rowIcons;
    // Row ids under the persistent indexes while the rows are reordered.
    QModelIndexList m_persistent;
    std::vector<quint64> m_persistentIds;
};

// Shows the row icon's words as the tool tip of the icon itself; the rest of the row keeps
// its own tool tip, the folder.
class RowIconDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
