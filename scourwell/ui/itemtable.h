// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "purge/purgeengine.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

class QTableView;
class QWidget;

// A table of items, one line each, as the preview and the runs window list them: rows chosen
// whole, no grid, long texts cut in their middle so that the name shows. A table, not a tree:
// a tree lays out every row again after each batch, which a million rows make slow; a table's
// rows all have one height and cost nothing until shown.
QTableView* NewItemTable(QWidget* parent, const QString& objectName, const QString& accessibleName,
                         QAbstractItemModel* model);

// The stretched column takes the room the table gives; each column of widest is as wide as
// its text, the longest it is to show.
void FitColumns(QTableView& table, int stretched, const std::vector<std::pair<int, QString>>& widest);

// An item's kind as a column shows it: the dry run's word, capitalised ("File", "Folder", "Link",
// "Other").
QString ItemKindText(PurgeItemKind kind);

// The date an item was judged by, in local time to the minute; empty when there is none.
QString ItemDateText(const std::optional<qint64>& secondsSinceEpoch);

// A table model whose columns have fixed titles: the column count and the header that every
// list of items here shares; a subclass gives the rows.
class TitledTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TitledTableModel(QStringList titles, QObject* parent = nullptr);

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const QStringList m_titles;
};
