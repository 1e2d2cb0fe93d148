// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon/frmmain.h"

#include "quillon/asker.h"
#include "quillon/frmoptions.h"
#include "quillon/logfilemodel.h"
#include "quillon/processstarter.h"
#include "shared/windowstate.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace quillon {

namespace {

const char WebAddress[] = "https://scourwell.example.org";

QPushButton* NewButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QAction* NewAction(const QString& name, const QString& caption, QMenu* menu)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

} // namespace

frmMain::frmMain(const QString& programFolder, Asker& asker, ProcessStarter& starter, QWidget* parent)
    : QMainWindow(parent), m_settings(programFolder),
      m_windowsFile(programFolder + u'/' + QLatin1StringView(QuillonWindowsFile)), m_asker(asker),
      m_starter(starter)
{
    setObjectName("frmMain");
    setWindowTitle(tr("Orvik's Log Files Explorer"));

    m_model = new LogFileModel(this);
    m_list = new QTreeView(this);
    m_list->setObjectName("ListView1");
    m_list->setAccessibleName(tr("Log files"));
    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setStretchLastSection(false);

    m_mnuFile = new QMenu(this);
    m_mnuFile->setObjectName("mnuFile");
    QAction* mnuView = NewAction("mnuView", tr("View"), m_mnuFile);
    m_mnuFile->addSeparator();
    QAction* mnuRefresh = NewAction("mnuRefresh", tr("Refresh"), m_mnuFile);
    m_mnuFile->addSeparator();
    QAction* mnuDelete = NewAction("mnuDelete", tr("Delete"), m_mnuFile);
    mnuRefresh->setShortcut(QKeySequence::Refresh);
    mnuDelete->setShortcut(QKeySequence::Delete);
    mnuDelete->setShortcutContext(Qt::WidgetShortcut);
    m_list->addAction(mnuDelete);
    addAction(mnuRefresh);

    auto* cmdAbout = NewButton("CmdAbout", tr("About"), this);
    auto* cmdOptions = NewButton("CmdOptions", tr("Options"), this);
    auto* cmdRefresh = NewButton("CmdRefresh", tr("Refresh"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAbout);
    buttons->addStretch();
    buttons->addWidget(cmdOptions);
    buttons->addWidget(cmdRefresh);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    setCentralWidget(central);

    statusBar()->setObjectName("StatusBar1");
    m_total = new QLabel(statusBar());
    m_total->setObjectName("Panel1");
    statusBar()->addWidget(m_total, 1);
    resize(480, 360);
    RestoreWindow();

    connect(m_list->header(), &QHeaderView::sectionClicked, this, &frmMain::ColumnClick);
    connect(m_list, &QTreeView::doubleClicked, this, &frmMain::ViewSelected);
    connect(m_list, &QTreeView::customContextMenuRequested, this, &frmMain::ShowMenu);
    connect(mnuView, &QAction::triggered, this, &frmMain::ViewSelected);
    connect(mnuRefresh, &QAction::triggered, this, [this] { ListLogFiles(true); });
    connect(mnuDelete, &QAction::triggered, this, &frmMain::DeleteSelected);
    connect(cmdAbout, &QPushButton::clicked, this, &frmMain::CmdAboutClick);
    connect(cmdOptions, &QPushButton::clicked, this, &frmMain::CmdOptionsClick);
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { ListLogFiles(true); });

    if (!m_settings.SettingsFileExists())
        m_settings.CreateDefaultSettings();
    m_settings.LoadSettings();
    ListLogFiles(false);
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_columnsSized)
        return;
    m_columnsSized = true;
    const int width = m_list->width() - 5;
    const std::array<double, 2> fractions{0.55, 0.4};
    for (int column : {LogFileModel::NameColumn, LogFileModel::ModifiedColumn}) {
        const int kept = m_columnWidths.value(column);
        m_list->setColumnWidth(
            column, kept > 0 ? kept : static_cast<int>(fractions[static_cast<size_t>(column)] * width));
    }
}

void frmMain::closeEvent(QCloseEvent* event)
{
    WindowState state;
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    state.position = normal.topLeft();
    state.size = normal.size();
    state.maximized = isMaximized();
    state.columnWidths = {m_list->columnWidth(0), m_list->columnWidth(1)};
    if (m_sortColumn)
        state.sort = ListSort{*m_sortColumn, m_ascending[static_cast<size_t>(*m_sortColumn)]};
    SaveWindowState(m_windowsFile, objectName(), state);
    QMainWindow::closeEvent(event);
}

// Where it was left, on the screen it was on, or centred on the primary screen where it has no
// place or that screen is gone; never larger than the screen.
void frmMain::RestoreWindow()
{
    const WindowState state = LoadWindowState(m_windowsFile, objectName());
    const QSize size = state.size.value_or(this->size());
    QScreen* screen =
        state.position ? QGuiApplication::screenAt(QRect(*state.position, size).center()) : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
        const QMargins frame(border, style()->pixelMetric(QStyle::PM_TitleBarHeight), border, border);
        setGeometry(FitOnScreen(size, state.position, frame, screen->availableGeometry()));
    }
    if (state.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    m_columnWidths = state.columnWidths;
    if (state.sort && state.sort->column <= LogFileModel::ModifiedColumn) {
        m_sortColumn = state.sort->column;
        m_ascending[static_cast<size_t>(state.sort->column)] = state.sort->ascending;
        m_list->header()->setSortIndicatorShown(true);
        m_list->header()->setSortIndicator(state.sort->column,
                                           state.sort->ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
}

void frmMain::ListLogFiles(bool focus)
{
    std::optional<std::vector<LogFileRow>> rows =
        CollectLogFiles(m_settings.Current().folder, m_settings.Current().filter);
    if (!rows) {
        m_asker.Message(this, QMessageBox::Critical, tr("Folder Error"), tr("Log folder not found! "));
        return;
    }
    m_model->SetRows(std::move(*rows));
    if (m_sortColumn)
        m_model->Sort(*m_sortColumn, m_ascending[static_cast<size_t>(*m_sortColumn)]);
    if (m_model->rowCount() > 0)
        m_list->setCurrentIndex(m_model->index(0, 0));
    m_total->setText(tr("Total Files : ") + QString::number(m_model->rowCount()));
    if (focus)
        m_list->setFocus();
}

void frmMain::ColumnClick(int column)
{
    if (column != LogFileModel::NameColumn && column != LogFileModel::ModifiedColumn)
        return;
    const int selected = SelectedRow();
    const QString selectedPath = selected < 0 ? QString() : m_model->Row(selected).path;
    bool& ascending = m_ascending[static_cast<size_t>(column)];
    ascending = !ascending;
    m_sortColumn = column;
    m_model->Sort(column, ascending);
    m_list->header()->setSortIndicatorShown(true);
    m_list->header()->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    SelectPath(selectedPath);
}

int frmMain::SelectedRow() const
{
    const QModelIndex current = m_list->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void frmMain::SelectPath(const QString& path)
{
    const int row = m_model->RowOfPath(path);
    if (row >= 0)
        m_list->setCurrentIndex(m_model->index(row, 0));
}

void frmMain::ViewSelected()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    // The viewer setting may carry arguments of its own; the file is always one more
    // argument, so no blank or quote in its path can split it or reach a shell.
    QStringList arguments = QProcess::splitCommand(m_settings.Current().viewer);
    if (arguments.isEmpty()) {
        m_asker.Message(this, QMessageBox::Critical, tr("Error"),
                        tr("No viewer is set. Choose one under Options. "));
        return;
    }
    const QString program = arguments.takeFirst();
    arguments << m_model->Row(row).path;
    if (!m_starter.StartDetached(program, arguments))
        m_asker.Message(this, QMessageBox::Critical, tr("Error"),
                        tr("The viewer [") + program + tr("] could not be started! "));
}

void frmMain::DeleteSelected()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    const LogFileRow file = m_model->Row(row);
    if (m_asker.Message(this, QMessageBox::Question, tr("Confirm Delete"),
                        tr("Do you want to permenantly delete [") + file.name + "]?",
                        QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    m_model->RemoveRow(row);
    if (m_model->rowCount() > 0)
        m_list->setCurrentIndex(m_model->index(std::min(row, m_model->rowCount() - 1), 0));
    if (!QFileInfo(file.path).isFile())
        return;
    if (!QFile::remove(file.path))
        m_asker.Message(this, QMessageBox::Critical, tr("Error"),
                        tr("The file [") + file.name + tr("] could not be deleted! "));
    ListLogFiles(true);
}

void frmMain::ShowMenu(const QPoint& pos)
{
    m_mnuFile->popup(m_list->viewport()->mapToGlobal(pos));
}

void frmMain::CmdAboutClick()
{
    m_asker.Message(this, QMessageBox::Information, tr("Quillon Ver. ") + QStringLiteral(SCOURWELL_VERSION),
                    tr("Double click the list to view log file or right click for menu \n\n"
                       "Orvik's Log Files Explorer\n") +
                        QLatin1String(WebAddress));
}

void frmMain::CmdOptionsClick()
{
    if (!m_options) {
        m_options = new frmOptions(m_settings, m_asker, this);
        connect(m_options, &frmOptions::SettingsAccepted, this, [this] { ListLogFiles(true); });
    }
    m_options->show();
    m_options->raise();
    m_options->activateWindow();
}

} // namespace quillon
