// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/jobtablemodel.h"

#include "config/jobtable.h"
#include "ui/artwork.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace {

// Captions of columns 1..7; the two "Value" columns are told apart by position only.
constexpr std::array<const char*, JobTableModel::ColumnCount> Captions{
    "Folder Location", "Value", "of Purge", "Purge Style", "Value", "on Every", "Next Run"};

bool IsCentred(int column)
{
    return column == 1 || column == 4;
}

} // namespace

JobTableModel::JobTableModel(JobTable& table, QObject* parent) : QAbstractTableModel(parent), m_table(table)
{
    for (int i = 0; i < static_cast<int>(m_rowIcons.size()); ++i)
        m_rowIcons[static_cast<size_t>(i)] = Artwork::RowIcon(static_cast<RowIcon>(i + 1));

    connect(&table, &JobTable::RowChanged, this, &JobTableModel::TableRowChanged);
    connect(&table, &JobTable::RowAboutToBeInserted, this,
            [this](int index) { beginInsertRows({}, index, index); });
    connect(&table, &JobTable::RowInserted, this, [this] { endInsertRows(); });
    connect(&table, &JobTable::RowAboutToBeRemoved, this,
            [this](int index) { beginRemoveRows({}, index, index); });
    connect(&table, &JobTable::RowRemoved, this, [this] { endRemoveRows(); });
    connect(&table, &JobTable::AboutToReset, this, [this] { beginResetModel(); });
    connect(&table, &JobTable::ResetDone, this, [this] { endResetModel(); });
    connect(&table, &JobTable::LayoutAboutToChange, this, &JobTableModel::TableLayoutAboutToChange);
    connect(&table, &JobTable::LayoutChanged, this, &JobTableModel::TableLayoutChanged);
}

int JobTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.Count();
}

int JobTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant JobTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_table.Count())
        return {};
    const JobRow& row = m_table.Row(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return JobColumnText(row, index.column() + 1);
    case Qt::ToolTipRole:
        return row.FolderLoc;
    case Qt::DecorationRole:
        if (index.column() == 0)
            return m_rowIcons[static_cast<size_t>(row.icon) - 1];
        return {};
    case Qt::AccessibleDescriptionRole:
        if (index.column() == 0)
            return RowIconWords(row.icon);
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (IsCentred(index.column()) ? Qt::AlignHCenter : Qt::AlignLeft));
    default:
        return {};
    }
}

QVariant JobTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(Captions[static_cast<size_t>(section)]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (IsCentred(section) ? Qt::AlignHCenter : Qt::AlignLeft));
    return {};
}

void JobTableModel::TableRowChanged(int index)
{
    Q_EMIT dataChanged(this->index(index, 0), this->index(index, ColumnCount - 1));
}

void JobTableModel::TableLayoutAboutToChange()
{
    Q_EMIT layoutAboutToBeChanged();
    m_persistent = persistentIndexList();
    m_persistentIds.clear();
    for (const QModelIndex& index : std::as_const(m_persistent))
        m_persistentIds.push_back(m_table.Row(index.row()).id);
}

// Each persistent index (the selection, the current row) follows its job to its new place.
void JobTableModel::TableLayoutChanged()
{
    QModelIndexList moved;
    moved.reserve(m_persistent.size());
    for (qsizetype i = 0; i < m_persistent.size(); ++i) {
        const int row = m_table.IndexOf(m_persistentIds[static_cast<size_t>(i)]);
        moved.append(row < 0 ? QModelIndex() : index(row, m_persistent[i].column()));
    }
    changePersistentIndexList(m_persistent, moved);
    m_persistent.clear();
    m_persistentIds.clear();
    Q_EMIT layoutChanged();
}

bool RowIconDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const QString words = index.data(Qt::AccessibleDescriptionRole).toString();
    if (event->type() == QEvent::ToolTip && view && !words.isEmpty()) {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QRect icon = view->style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &item, view);
        if (icon.contains(event->pos())) {
            QToolTip::showText(event->globalPos(), words, view->viewport(), icon);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
