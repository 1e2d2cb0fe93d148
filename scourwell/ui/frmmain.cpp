// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmmain.h"

#include "config/jobconfig.h"
#include "purge/purgeengine.h"
#include "purge/purgerun.h"
#include "shared/programfolder.h"
#include "shared/sortlistview.h"
#include "shared/windowstate.h"
#include "ui/artwork.h"
#include "ui/commandart.h"
#include "ui/executorwindow.h"
#include "ui/jobtablemodel.h"
#include "ui/maincommands.h"
#include "ui/windowmodal.h"
#include "ui/windowplacement.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <map>

namespace {

struct ColumnSpec
{
    double fraction;
    SortKind kind;
};

// Widths as fractions of the list width; they add up to 0.972, leaving a strip free.
constexpr std::array<ColumnSpec, 7> Columns{{{0.3, SortKind::Text},
                                             {0.071, SortKind::Number},
                                             {0.1, SortKind::Text},
                                             {0.13, SortKind::Text},
                                             {0.071, SortKind::Number},
                                             {0.1, SortKind::Text},
                                             {0.2, SortKind::Date}}};

// Status bar panel widths in hundredths of a millimetre.
constexpr std::array<int, 3> PanelWidths{9525, 3705, 3000};

QAction* NewSeparator(QObject* parent, const char* name)
{
    auto* action = new QAction(parent);
    action->setObjectName(QLatin1String(name));
    action->setSeparator(true);
    return action;
}

QMenu* NewMenu(QWidget* parent, const char* name, const QString& title)
{
    auto* menu = new QMenu(title, parent);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

StylePicture StylePictureOf(PurgeStyle style)
{
    switch (style) {
    case PurgeStyle::FilesOnly:
        return StylePicture::FilesOnly;
    case PurgeStyle::IncludeFilesInSubfolders:
        return StylePicture::IncludeFilesInSubfolders;
    case PurgeStyle::SubfoldersOnly:
        return StylePicture::SubfoldersOnly;
    }
    return StylePicture::Neutral;
}

// A caption as it reads, without its access key and the blanks before it.
QString Plain(QString caption)
{
    return caption.remove(u'&').trimmed();
}

QString WindowsFilePath(const QString& programFolder)
{
    return programFolder + u'/' + QLatin1StringView(ScourwellWindowsFile);
}

} // namespace

frmMain::frmMain(JobHost& host, bool trayAvailable, QWidget* parent)
    : QMainWindow(parent), m_host(host), m_table(host.Table()), m_trayAvailable(trayAvailable)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Scourwell"));
    setWindowIcon(Artwork::AppIcon());
    resize(820, 460);

    CreateMenus();
    CreateToolbar();
    CreateList();
    CreateStatusBar();

    const WindowState state = LoadWindowState(WindowsFilePath(ProgramFolder()), objectName());
    PlaceOnScreen(*this, state.size.value_or(size()), state.position);
    if (state.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    SetListColumns();
    connect(&m_host, &JobHost::RunLaunched, this, &frmMain::OpenExecutor);
    m_host.Load();
    m_host.Start();
    new MainCommands(*this, m_host.ExecutableFolder());
    SetMenuBitmaps();
    RestoreWindow(state);
}

void frmMain::RestoreWindow(const WindowState& state)
{
    QHeaderView* header = m_list->header();
    if (state.columnWidths.size() == JobColumnCount && state.listWidth) {
        for (int i = 0; i < JobColumnCount; ++i) {
            if (const int width = state.columnWidths[i])
                header->resizeSection(i, width);
        }
        m_fittedWidth = *state.listWidth;
        FollowListWidth();
    }
    if (state.sort && state.sort->column < JobColumnCount)
        SortBy(state.sort->column, state.sort->ascending);
}

void frmMain::RememberWindow() const
{
    WindowState state;
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    state.position = normal.topLeft();
    state.size = normal.size();
    state.maximized = isMaximized();
    const QHeaderView* header = m_list->header();
    for (int i = 0; i < JobColumnCount; ++i)
        state.columnWidths.append(header->sectionSize(i));
    state.listWidth = m_list->width();
    if (header->isSortIndicatorShown())
        state.sort =
            ListSort{header->sortIndicatorSection(), header->sortIndicatorOrder() == Qt::AscendingOrder};
    SaveWindowState(WindowsFilePath(ProgramFolder()), objectName(), state);
}

// Taken from the Folder Location column alone, so the others keep the widths they were given
// and paths are not cut while the window has room.
void frmMain::FollowListWidth()
{
    const int width = m_list->width();
    QHeaderView* header = m_list->header();
    header->resizeSection(
        0, std::max(header->minimumSectionSize(), header->sectionSize(0) + width - m_fittedWidth));
    m_fittedWidth = width;
}

void frmMain::ShowEmptyHint()
{
    m_emptyHint->setVisible(m_table.IsEmpty());
}

void frmMain::CreateMenus()
{
    // By the place of their items; a menu comes before its items in the table.
    std::map<CommandPlace, QMenu*> menus;
    for (const CommandItem& item : CommandItems()) {
        if (item.place == CommandPlace::Toolbar)
            continue;
        QAction* action = nullptr;
        switch (item.kind) {
        case CommandItem::Kind::Menu: {
            QMenu* menu = NewMenu(this, item.objectName, QString::fromLatin1(item.caption));
            menus[item.items] = menu;
            action = menu->menuAction();
            break;
        }
        case CommandItem::Kind::Separator:
            action = NewSeparator(this, item.objectName);
            break;
        case CommandItem::Kind::Command:
            action = NewCommand(this, item);
            if (item.place == CommandPlace::Context || item.place == CommandPlace::JobOptions) {
                m_contextActions.emplace_back(item.command, action);
                // The context menu only ever pops up: its shortcuts work through the window.
                if (item.shortcut != QKeyCombination())
                    addAction(action);
            }
            if (item.picture)
                m_menuPictures.emplace_back(item.command, action);
            break;
        }
        if (item.place == CommandPlace::MenuBar)
            menuBar()->addAction(action);
        else
            menus.at(item.place)->addAction(action);
    }
    m_context = menus.at(CommandPlace::Context);
    m_jobOptions = menus.at(CommandPlace::JobOptions);
    // The context menu belongs to the menu bar but only ever shows as the list's pop-up.
    m_context->menuAction()->setVisible(false);
}

void frmMain::CreateToolbar()
{
    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar->setIconSize(QSize(24, 24));
    toolbar->toggleViewAction()->setEnabled(false);
    for (const CommandItem& item : CommandItems()) {
        if (item.place != CommandPlace::Toolbar)
            continue;
        QAction* button = NewCommand(toolbar, item);
        if (item.picture)
            button->setIcon(CommandArt::Image(item.command));
        toolbar->addAction(button);
    }
    addToolBar(Qt::TopToolBarArea, toolbar);
}

QAction* frmMain::NewCommand(QObject* parent, const CommandItem& item)
{
    auto* action = new QAction(QString::fromLatin1(item.caption ? item.caption : item.toolTip), parent);
    action->setObjectName(QLatin1String(item.objectName));
    if (item.shortcut != QKeyCombination())
        action->setShortcut(item.shortcut);
    if (item.toolTip)
        action->setToolTip(QString::fromLatin1(item.toolTip));
    connect(action, &QAction::triggered, this,
            [this, command = item.command] { Q_EMIT CommandTriggered(command); });
    return action;
}

void frmMain::SetMenuBitmaps()
{
    for (const auto& [command, action] : m_menuPictures)
        action->setIcon(CommandArt::Image(command));
}

QAction* frmMain::ContextAction(MainCommand command) const
{
    const auto found = std::find_if(m_contextActions.begin(), m_contextActions.end(),
                                    [command](const auto& entry) { return entry.first == command; });
    Q_ASSERT(found != m_contextActions.end());
    return found->second;
}

void frmMain::CreateList()
{
    m_model = new JobTableModel(m_table, this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setAccessibleName(QStringLiteral("Purge jobs"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new RowIconDelegate(m_list));
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAllColumnsShowFocus(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setIconSize(QSize(16, 16));
    m_list->setSortingEnabled(false);
    // Right-button releases reach the list itself; the pop-up is ours.
    m_list->setContextMenuPolicy(Qt::PreventContextMenu);
    m_list->viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);

    QHeaderView* header = m_list->header();
    header->setStretchLastSection(false);
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    connect(header, &QHeaderView::sectionClicked, this, &frmMain::ColumnClick);

    // In the words of the menu that adds a job, so the hint never names a command that is not there.
    const QAction* newJob = findChild<QAction*>(QStringLiteral("mnuNew"));
    m_emptyHint = new QLabel(QStringLiteral("No purge jobs yet. Press %1 or choose %2 > %3 to add one.")
                                 .arg(newJob->shortcut().toString(QKeySequence::NativeText),
                                      Plain(findChild<QMenu*>(QStringLiteral("mnuFile"))->title()),
                                      Plain(newJob->text())));
    m_emptyHint->setObjectName(QStringLiteral("EmptyHint"));
    m_emptyHint->setAlignment(Qt::AlignCenter);
    m_emptyHint->setWordWrap(true);
    m_emptyHint->setForegroundRole(QPalette::PlaceholderText);
    // Clicks go through to the list, whose right button still offers Add New Job.
    m_emptyHint->setAttribute(Qt::WA_TransparentForMouseEvents);
    (new QVBoxLayout(m_list->viewport()))->addWidget(m_emptyHint);
    connect(&m_table, &JobTable::ResetDone, this, &frmMain::ShowEmptyHint);
    connect(&m_table, &JobTable::RowInserted, this, &frmMain::ShowEmptyHint);
    connect(&m_table, &JobTable::RowRemoved, this, &frmMain::ShowEmptyHint);

    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                // A row removed under the selection moves the current row: keep it selected.
                if (current.isValid() && !m_list->selectionModel()->isRowSelected(current.row()))
                    m_list->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows);
                ItemClick();
            });
    connect(m_list, &QTreeView::clicked, this, &frmMain::ItemClick);
    connect(m_list, &QTreeView::doubleClicked, this, [this] { RowCommand(MainCommand::EditSelectedJob); });
    // The selected row's icon changes when a run starts or ends: its commands follow it, and
    // so do the words for its state while the summary shows the row.
    connect(&m_table, &JobTable::RowChanged, this, [this](int index) {
        if (index != SelectedRow())
            return;
        EnableRowCommands(m_table.Row(index));
        if (!m_panels[0]->toolTip().isEmpty())
            ShowRowState(m_table.Row(index));
    });
    setCentralWidget(m_list);
}

void frmMain::CreateStatusBar()
{
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    const double pixelsPerMm = logicalDpiX() / 25.4;
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(QStringLiteral(" "));
        label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        m_panels[static_cast<size_t>(i)] = label;
        auto* panel = new QFrame;
        panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        auto* layout = new QHBoxLayout(panel);
        layout->setContentsMargins(3, 1, 3, 1);
        layout->setSpacing(4);
        if (i == 0) {
            // Panel 1 holds the style picture beside the job summary.
            m_pictureLabel = new QLabel;
            m_pictureLabel->setObjectName(QStringLiteral("Panel1Picture"));
            layout->addWidget(m_pictureLabel);
        }
        layout->addWidget(label, 1);
        // The stated widths are the least; a panel grows to show its whole text, and panel 1
        // takes the room that is left.
        panel->setMinimumWidth(qRound(PanelWidths[static_cast<size_t>(i)] / 100.0 * pixelsPerMm));
        bar->addWidget(panel, i == 0 ? 1 : 0);
    }
    setStatusBar(bar);
    SetPanelPicture(StylePicture::Neutral);
    connect(&m_table, &JobTable::OptionsChanged, this, &frmMain::ShowDateKind);
}

// The widths are fixed once from the list's width at set-up, less five pixels.
void frmMain::SetListColumns()
{
    if (QLayout* layout = this->layout())
        layout->activate();
    const double w = m_list->width() - 5;
    for (int i = 0; i < static_cast<int>(Columns.size()); ++i)
        m_list->header()->resizeSection(i, static_cast<int>(w * Columns[static_cast<size_t>(i)].fraction));
    m_fittedWidth = m_list->width();
}

QLabel* frmMain::Panel(int n) const
{
    return m_panels[static_cast<size_t>(n - 1)];
}

int frmMain::SelectedRow() const
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    if (!rows.isEmpty())
        return rows.first().row();
    const QModelIndex current = m_list->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void frmMain::ItemClick()
{
    const int index = SelectedRow();
    if (index < 0)
        return;
    const JobRow& row = m_table.Row(index);
    EnableRowCommands(row);

    const QString purged = QStringLiteral("Objects more than ") + row.ValPurge + QLatin1Char(' ') +
                           row.ValOfPurge.Text().toLower();
    QString summary;
    if (row.Style.IsExactly(ScheduleKind::Routine))
        summary = purged + QStringLiteral("(s) will be purged on every ") + row.ValEvery + QLatin1Char(' ') +
                  row.ValOfEvery.Text().toLower() + QStringLiteral("(s)");
    else
        summary = purged + QStringLiteral("(s) will be purged on ") + row.NextRun;
    m_panels[0]->setText(summary);
    // Any other style leaves the picture as it was.
    if (const std::optional<PurgeStyle> style = row.FileFolderStyle.Value())
        SetPanelPicture(StylePictureOf(*style));
    m_panels[1]->setText(row.FileFolderStyle.Text());
    ShowRowState(row);
}

void frmMain::ShowRowState(const JobRow& row)
{
    const QString words = RowIconWords(row.icon);
    m_panels[0]->setToolTip(words);
    m_panels[0]->setAccessibleDescription(words);
}

void frmMain::EnableRowCommands(const JobRow& row)
{
    const bool routine = row.Style.IsExactly(ScheduleKind::Routine);
    auto enable = [this](MainCommand command, bool on) { ContextAction(command)->setEnabled(on); };
    switch (row.icon) {
    case RowIcon::Enabled:
    case RowIcon::Disabled:
        enable(MainCommand::EnableJob, true);
        enable(MainCommand::DisableJob, true);
        enable(MainCommand::RunNow, true);
        enable(MainCommand::AdjustDate, false);
        break;
    case RowIcon::EnabledPassed:
    case RowIcon::DisabledPassed:
        enable(MainCommand::EnableJob, false);
        enable(MainCommand::DisableJob, false);
        enable(MainCommand::RunNow, true);
        enable(MainCommand::AdjustDate, routine);
        break;
    case RowIcon::FolderMissing:
    case RowIcon::Running:
        enable(MainCommand::EnableJob, false);
        enable(MainCommand::DisableJob, false);
        enable(MainCommand::RunNow, false);
        enable(MainCommand::AdjustDate, false);
        break;
    }
    // Whatever may run may first be looked at.
    enable(MainCommand::Preview, ContextAction(MainCommand::RunNow)->isEnabled());
}

void frmMain::ColumnClick(int section)
{
    const auto i = static_cast<size_t>(section);
    if (i >= Columns.size())
        return;
    SortBy(section, !m_ascending[i]);
}

void frmMain::SortBy(int section, bool ascending)
{
    const auto i = static_cast<size_t>(section);
    m_ascending[i] = ascending;
    m_table.Sort(section + 1, Columns[i].kind, ascending);
    m_list->header()->setSortIndicatorShown(true);
    m_list->header()->setSortIndicator(section, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void frmMain::PrepareContext()
{
    const bool any = !m_table.IsEmpty();
    for (QAction* action :
         {ContextAction(MainCommand::EditSelectedJob), m_jobOptions->menuAction(),
          ContextAction(MainCommand::BrowseLocation), ContextAction(MainCommand::DeleteSelected)})
        action->setEnabled(any);
}

void frmMain::PopupContext(const QPoint& globalPos)
{
    PrepareContext();
    m_context->popup(globalPos);
}

// The context menu by the Menu key or Shift+F10 opens at the selected row, not at the
// mouse; Return edits the row and Delete asks to delete it, as their menu items do.
bool frmMain::ListKeyPress(const QKeyEvent& event)
{
    const auto modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const int key = event.key();
    if ((key == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
        (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        const int row = SelectedRow();
        const QRect rect = row < 0 ? QRect() : m_list->visualRect(m_model->index(row, 0));
        const QPoint at = rect.isValid() ? rect.bottomLeft() + QPoint(rect.height(), 0) : QPoint(0, 0);
        PopupContext(m_list->viewport()->mapToGlobal(at));
        return true;
    }
    if (modifiers != Qt::NoModifier || SelectedRow() < 0)
        return false;
    const bool edit = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!edit && key != Qt::Key_Delete)
        return false;
    RowCommand(edit ? MainCommand::EditSelectedJob : MainCommand::DeleteSelected);
    return true;
}

void frmMain::RowCommand(MainCommand command)
{
    PrepareContext();
    ContextAction(command)->trigger();
}

void frmMain::FocusReset()
{
    m_panels[0]->setText(QStringLiteral(" "));
    m_panels[1]->setText(QStringLiteral(" "));
    m_panels[0]->setToolTip(QString());
    m_panels[0]->setAccessibleDescription(QString());
    SetPanelPicture(StylePicture::Neutral);
}

void frmMain::SetPanelPicture(StylePicture picture)
{
    m_panelPicture = picture;
    m_pictureLabel->setPixmap(Artwork::StylePicture(picture).pixmap(16, 16));
}

void frmMain::ShowDateKind()
{
    m_panels[2]->setText(m_table.LookPurgeBy().Text());
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        ListKeyPress(*static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == m_list && event->type() == QEvent::Resize)
        FollowListWidth();
    if (watched == m_list && event->type() == QEvent::FocusOut) {
        // Focus leaving for another control of this window; not a pop-up or another window.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            FocusReset();
    } else if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        PopupContext(QCursor::pos());
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::HideToTray()
{
    if (!m_trayAvailable) {
        setWindowState(windowState() | Qt::WindowMinimized);
        return;
    }
    // Only a window the desktop has placed has a place to come back to.
    if (isVisible() && windowHandle() && windowHandle()->isExposed()) {
        m_trayGeometry = saveGeometry();
        RememberWindow();
    }
    setWindowState(windowState() | Qt::WindowMinimized);
    hide();
}

// From the tray the window comes back as a new native window: the desktop may still hold the
// old one as iconic (with "/systray" it is minimised before the desktop has even taken it
// in) and would map it iconic again, so that the first double-click showed nothing.
void frmMain::ShowFromTray()
{
    if (!isVisible()) {
        if (QWindow* native = windowHandle())
            native->destroy();
        if (!m_trayGeometry.isEmpty())
            restoreGeometry(m_trayGeometry);
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

// Each run gets its window, open and labelled, before it begins.
void frmMain::OpenExecutor(PurgeRun* run)
{
    std::erase_if(m_executorWindows, [](const QPointer<ExecutorWindow>& w) { return w.isNull(); });
    auto* window = new ExecutorWindow(*run);
    // Over the main window, each one a step down and right of those open, so none hides another.
    const int step =
        style()->pixelMetric(QStyle::PM_TitleBarHeight) * static_cast<int>(m_executorWindows.size() % 8);
    PlaceOver(*window, *this, QPoint(step, step));
    m_executorWindows.emplace_back(window);
    window->show();
    // Raised once the launch is over: Run Now gives the main window the focus back, which
    // the desktop would otherwise show in front of the new window.
    QTimer::singleShot(0, window, &QWidget::raise);
}

void frmMain::Unload()
{
    m_host.Stop();
    m_host.WaitForRuns();
    for (const QPointer<ExecutorWindow>& window : m_executorWindows) {
        if (window)
            window->close();
    }
    m_executorWindows.clear();
    if (isVisible())
        RememberWindow();
    hide();
    Q_EMIT Unloaded();
}

void frmMain::Exit()
{
    m_exitState = ExitState::ExitProg;
    close();
}

// The executor windows come to the front with the main window, so none is left deleting
// behind it. They are not made transient for it: a dialog modal to the main window would then
// block their Stop as well.
void frmMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        for (const QPointer<ExecutorWindow>& window : m_executorWindows) {
            if (window)
                window->raise();
        }
    }
    QMainWindow::changeEvent(event);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (m_exitState != ExitState::ExitProg) {
        HideToTray();
        return;
    }
    if (!ConfirmExit()) {
        m_exitState = ExitState::NoExit;
        return;
    }
    event->accept();
    Unload();
}

// The exit question, with a line more for the runs that the exit stops. Unsaved changes
// to the table are saved by default rather than thrown away; a save that fails keeps the
// program open.
bool frmMain::ConfirmExit()
{
    const QString title = QStringLiteral("Exit Program");
    QString question = QStringLiteral("Do you want to close this program?");
    if (const int runs = m_host.Executors().RunningCount())
        question += QStringLiteral("\r\n%1 %2 under way will be stopped.")
                        .arg(runs)
                        .arg(runs == 1 ? QStringLiteral("run") : QStringLiteral("runs"));
    if (!m_table.IsDirty())
        return MessageWindowModal(this, QMessageBox::Question, title, question,
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;

    QMessageBox box(QMessageBox::Question, title, question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.button(QMessageBox::Save)->setText(QStringLiteral("Save and Exit"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Exit Without Saving"));
    box.setDefaultButton(QMessageBox::Save);
    switch (ExecWindowModal(box)) {
    case QMessageBox::Discard:
        return true;
    case QMessageBox::Save:
        if (SaveJobList(m_table, m_host.ProgramFolder()))
            return true;
        MessageWindowModal(this, QMessageBox::Critical, QStringLiteral("Error"),
                           QStringLiteral("The jobs could not be saved to ") +
                               ConfigDatPath(m_host.ProgramFolder()) +
                               QStringLiteral(". The program stays open.  "),
                           QMessageBox::Ok);
        return false;
    default:
        return false;
    }
}
