// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillon/inimod.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <optional>

class QLabel;
class QMenu;
class QModelIndex;
class QCloseEvent;
class QTreeView;

namespace quillon {

class Asker;
class LogFileModel;
class ProcessStarter;
class frmOptions;

// "Orvik's Log Files Explorer": the log files of the current folder that end in the current
// filter, opened in the current viewer, refreshed, sorted and deleted from here.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    frmMain(const QString& programFolder, Asker& asker, ProcessStarter& starter, QWidget* parent = nullptr);

    // Refills the list from the current folder; with focus set the list gets the focus.
    void ListLogFiles(bool focus);

protected:
    void showEvent(QShowEvent* event) override;
    // Keeps the window's size, place, column widths and sort for the next start.
    void closeEvent(QCloseEvent* event) override;

private:
    void ColumnClick(int column);
    void ViewSelected();
    void DeleteSelected();
    void ShowMenu(const QPoint& pos);
    void CmdAboutClick();
    void CmdOptionsClick();
    // The selected row; -1 on an empty list.
    int SelectedRow() const;
    void SelectPath(const QString& path);
    // The size and place of the last start, fitted to the screen, and its sort.
    void RestoreWindow();

    IniMod m_settings;
    // Where the window's state is kept between starts.
    const QString m_windowsFile;
    Asker& m_asker;
    ProcessStarter& m_starter;
    LogFileModel* m_model;
    QTreeView* m_list;
    QLabel* m_total;
    QMenu* m_mnuFile;
    QPointer<frmOptions> m_options;
    std::array<bool, 2> m_ascending{};
    // The last column sort, kept when the list is refilled.
    std::optional<int> m_sortColumn;
    bool m_columnsSized = false;
    // The widths the columns had at the last close, used at the first show.
    QList<int> m_columnWidths;
};

} // namespace quillon
