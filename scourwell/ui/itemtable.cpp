// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/itemtable.h"

#include "shared/localzone.h"

#include <QHeaderView>
#include <QTableView>

QTableView* NewItemTable(QWidget* parent, const QString& objectName, const QString& accessibleName,
                         QAbstractItemModel* model)
{
    auto* table = new QTableView(parent);
    table->setObjectName(objectName);
    table->setAccessibleName(accessibleName);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideMiddle);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    table->horizontalHeader()->setHighlightSections(false);
    return table;
}

void FitColumns(QTableView& table, int stretched, const std::vector<std::pair<int, QString>>& widest)
{
    QHeaderView* header = table.horizontalHeader();
    header->setSectionResizeMode(stretched, QHeaderView::Stretch);
    const QFontMetrics metrics = table.fontMetrics();
    const int padding = 3 * metrics.averageCharWidth();
    for (const auto& [column, text] : widest)
        header->resizeSection(column, metrics.horizontalAdvance(text) + padding);
}

QString ItemKindText(PurgeItemKind kind)
{
    const QString word = QString::fromLatin1(KindWord(kind));
    return word.left(1).toUpper() + word.mid(1);
}

QString ItemDateText(const std::optional<qint64>& secondsSinceEpoch)
{
    return secondsSinceEpoch ? LocalWallTime(*secondsSinceEpoch).toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                             : QString();
}

TitledTableModel::TitledTableModel(QStringList titles, QObject* parent)
    : QAbstractTableModel(parent), m_titles(std::move(titles))
{
}

int TitledTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

QVariant TitledTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_titles.size())
        return {};
    return m_titles[section];
}
