#include "ui/frmmain.h"

#include "config/jobconfig.h"
#include "purge/purgeengine.h"
#include "purge/purgerun.h"
#include "purge/scourwellthread.h"
#include "purge/statusrelay.h"
#include "schedule/checktimer.h"
#include "shared/clock.h"
#include "shared/programfolder.h"
#include "shared/sortlistview.h"
#include "ui/artwork.h"
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
#include <QWindow>

namespace {

constexpr int CheckJobInterval = 3000;
constexpr int CheckStatInterval = 2000;

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

QAction* NewAction(QObject* parent, const char* name, const QString& text, const QKeySequence& shortcut = {})
{
    auto* action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

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

} // namespace

FrmMain::FrmMain(const QString& programFolder, const QString& executableFolder, const Clock& clock,
                 bool trayAvailable, QWidget* parent)
    : QMainWindow(parent), m_programFolder(programFolder), m_clock(clock), m_trayAvailable(trayAvailable)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Scourwell"));
    setWindowIcon(Artwork::AppIcon());
    resize(820, 460);

    m_executors =
        std::make_unique<ScourwellThread>(programFolder, ProtectedPaths(programFolder, executableFolder),
                                          clock, [this](PurgeRun& run) { OpenExecutor(run); });

    CreateMenus();
    CreateToolbar();
    CreateList();
    CreateStatusBar();

    SetListColumns();
    LoadOptions(m_table, programFolder);
    LoadJobList(m_table, programFolder, clock.Now());

    CreateTimers();
    new MainCommands(*this, executableFolder);
}

// The list reads the table while it is torn down, so it goes before the table does.
FrmMain::~FrmMain()
{
    delete m_list;
}

JobLauncher& FrmMain::Launcher()
{
    return *m_executors;
}

void FrmMain::CreateMenus()
{
    QMenu* file = NewMenu(this, "mnuFile", QStringLiteral("&File"));
    file->addAction(
        NewAction(this, "mnuNew", QStringLiteral("  &New Job"), QKeySequence(Qt::CTRL | Qt::Key_N)));
    file->addAction(
        NewAction(this, "mnuSave", QStringLiteral("  &Save Jobs"), QKeySequence(Qt::CTRL | Qt::Key_S)));
    file->addAction(NewSeparator(this, "mnuFileSep1"));
    file->addAction(
        NewAction(this, "mnuOption", QStringLiteral("  &Options"), QKeySequence(Qt::CTRL | Qt::Key_O)));
    file->addAction(NewSeparator(this, "mnuFileSep2"));
    m_exit = NewAction(this, "mnuExit", QStringLiteral("  E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_exit->setProperty("Tag", QString());
    connect(m_exit, &QAction::triggered, this, &FrmMain::Exit);
    file->addAction(m_exit);

    QMenu* view = NewMenu(this, "mnuView", QStringLiteral("&View"));
    view->addAction(
        NewAction(this, "mnuQuillon", QStringLiteral("  &Log Explorer"), QKeySequence(Qt::CTRL | Qt::Key_L)));
    view->addAction(NewSeparator(this, "mnuFileSep3"));
    view->addAction(NewAction(this, "mnuMainThread", QStringLiteral("  &Thread Info")));
    view->addAction(NewSeparator(this, "mnuFileSep4"));
    view->addAction(NewAction(this, "mnuHelp", QStringLiteral("  &Help"), QKeySequence(Qt::Key_F1)));
    view->addAction(NewSeparator(this, "mnuFileSep5"));
    view->addAction(NewAction(this, "mnuAbout", QStringLiteral("  &About")));

    m_context = NewMenu(this, "mnuContext", QStringLiteral("&Context"));
    m_context->addAction(NewAction(this, "mnuAdd", QStringLiteral("{&A}dd New Job")));
    m_context->addAction(NewAction(this, "mnuEdit", QStringLiteral("{&E}dit Selected Job")));
    m_context->addAction(NewSeparator(this, "mnuXsep1"));
    QMenu* jobOpt = NewMenu(this, "mnuJobOpt", QStringLiteral("Job {&P}roperties"));
    jobOpt->addAction(NewAction(this, "mnuEnable", QStringLiteral("{&E}nable Job")));
    jobOpt->addAction(NewAction(this, "mnuDisable", QStringLiteral("{&D}isable Job")));
    jobOpt->addAction(NewSeparator(this, "mnuXsep2"));
    jobOpt->addAction(NewAction(this, "mnuRunNow", QStringLiteral("{&R}un Now")));
    jobOpt->addAction(NewSeparator(this, "mnuXsep3"));
    jobOpt->addAction(NewAction(this, "mnuAdjust", QStringLiteral("{&A}djust Date")));
    m_context->addMenu(jobOpt);
    m_context->addAction(NewSeparator(this, "mnuXsep4"));
    m_context->addAction(NewAction(this, "mnuBrowse", QStringLiteral("{&B}rowse Location")));
    m_context->addAction(NewSeparator(this, "mnuXsep5"));
    m_context->addAction(NewAction(this, "mnuDel", QStringLiteral("{&D}elete Selected")));

    menuBar()->addMenu(file);
    menuBar()->addMenu(view);
    // The context menu belongs to the menu bar but only ever shows as the list's pop-up.
    menuBar()->addMenu(m_context)->setVisible(false);
}

void FrmMain::CreateToolbar()
{
    struct Button
    {
        const char* key;
        const char* toolTip;
    };
    static constexpr std::array<Button, 8> Buttons{{{"New", "Add New Task"},
                                                    {"Save", "Save Jobs"},
                                                    {"Enable", "Enable All Jobs"},
                                                    {"Disable", "Disable All Jobs"},
                                                    {"Log", "Log Explorer"},
                                                    {"Options", "Options"},
                                                    {"Help", "Help"},
                                                    {"Hide", "Hide Program"}}};
    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar->setIconSize(QSize(24, 24));
    toolbar->toggleViewAction()->setEnabled(false);
    for (const Button& b : Buttons) {
        auto* action = new QAction(QString::fromLatin1(b.toolTip), toolbar);
        action->setObjectName(QLatin1String(b.key));
        action->setData(QString::fromLatin1(b.key));
        action->setToolTip(QString::fromLatin1(b.toolTip));
        toolbar->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, toolbar);
}

void FrmMain::CreateList()
{
    m_model = new JobTableModel(m_table, this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setModel(m_model);
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
    connect(header, &QHeaderView::sectionClicked, this, &FrmMain::ColumnClick);

    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                // A row removed under the selection moves the current row: keep it selected.
                if (current.isValid() && !m_list->selectionModel()->isRowSelected(current.row()))
                    m_list->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows);
                ItemClick();
            });
    connect(m_list, &QTreeView::clicked, this, &FrmMain::ItemClick);
    // The selected row's icon changes when a run starts or ends: its commands follow it.
    connect(&m_table, &JobTable::RowChanged, this, [this](int index) {
        if (index == SelectedRow())
            EnableRowCommands(m_table.Row(index));
    });
    setCentralWidget(m_list);
}

void FrmMain::CreateStatusBar()
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
    connect(&m_table, &JobTable::OptionsChanged, this, &FrmMain::ShowDateKind);
}

void FrmMain::CreateTimers()
{
    m_timerCheckJob = new QTimer(this);
    m_timerCheckJob->setObjectName(QStringLiteral("TimerCheckJob"));
    m_timerCheckJob->setInterval(CheckJobInterval);
    connect(m_timerCheckJob, &QTimer::timeout, this,
            [this] { TimerCheckJobTick(m_table, m_clock.Now(), Launcher(), m_programFolder); });

    m_timerCheckStat = new QTimer(this);
    m_timerCheckStat->setObjectName(QStringLiteral("TimerCheckStat"));
    m_timerCheckStat->setInterval(CheckStatInterval);
    connect(m_timerCheckStat, &QTimer::timeout, this, &FrmMain::CheckStatTick);

    m_timerCheckJob->start();
    m_timerCheckStat->start();
}

// The widths are fixed once from the list's width at set-up, less five pixels.
void FrmMain::SetListColumns()
{
    if (QLayout* layout = this->layout())
        layout->activate();
    const double w = m_list->width() - 5;
    for (int i = 0; i < static_cast<int>(Columns.size()); ++i)
        m_list->header()->resizeSection(i, static_cast<int>(w * Columns[static_cast<size_t>(i)].fraction));
}

QLabel* FrmMain::Panel(int n) const
{
    return m_panels[static_cast<size_t>(n - 1)];
}

int FrmMain::SelectedRow() const
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    if (!rows.isEmpty())
        return rows.first().row();
    const QModelIndex current = m_list->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void FrmMain::ItemClick()
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
}

void FrmMain::EnableRowCommands(const JobRow& row)
{
    const bool routine = row.Style.IsExactly(ScheduleKind::Routine);
    auto enable = [this](const char* name, bool on) {
        if (auto* action = findChild<QAction*>(QLatin1String(name)))
            action->setEnabled(on);
    };
    switch (row.icon) {
    case RowIcon::Enabled:
    case RowIcon::Disabled:
        enable("mnuEnable", true);
        enable("mnuDisable", true);
        enable("mnuRunNow", true);
        enable("mnuAdjust", false);
        break;
    case RowIcon::EnabledPassed:
    case RowIcon::DisabledPassed:
        enable("mnuEnable", false);
        enable("mnuDisable", false);
        enable("mnuRunNow", true);
        enable("mnuAdjust", routine);
        break;
    case RowIcon::FolderMissing:
    case RowIcon::Running:
        enable("mnuEnable", false);
        enable("mnuDisable", false);
        enable("mnuRunNow", false);
        enable("mnuAdjust", false);
        break;
    }
}

void FrmMain::ColumnClick(int section)
{
    const auto i = static_cast<size_t>(section);
    if (i >= Columns.size())
        return;
    m_ascending[i] = !m_ascending[i];
    m_table.Sort(section + 1, Columns[i].kind, m_ascending[i]);
    m_list->header()->setSortIndicatorShown(true);
    m_list->header()->setSortIndicator(section, m_ascending[i] ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void FrmMain::PrepareContext()
{
    const bool any = !m_table.IsEmpty();
    for (const char* name : {"mnuEdit", "mnuJobOpt", "mnuBrowse", "mnuDel"}) {
        if (auto* action = findChild<QAction*>(QLatin1String(name)))
            action->setEnabled(any);
    }
}

void FrmMain::PopupContext(const QPoint& globalPos)
{
    PrepareContext();
    m_context->popup(globalPos);
}

// The context menu by the Menu key or Shift+F10 opens at the selected row, not at the
// mouse; Return edits the row and Delete asks to delete it, as their menu items do.
bool FrmMain::ListKeyPress(const QKeyEvent& event)
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
    const char* command = key == Qt::Key_Return || key == Qt::Key_Enter ? "mnuEdit"
                          : key == Qt::Key_Delete                       ? "mnuDel"
                                                                        : nullptr;
    if (!command)
        return false;
    PrepareContext();
    if (auto* action = findChild<QAction*>(QLatin1String(command)))
        action->trigger();
    return true;
}

void FrmMain::FocusReset()
{
    m_panels[0]->setText(QStringLiteral(" "));
    m_panels[1]->setText(QStringLiteral(" "));
    SetPanelPicture(StylePicture::Neutral);
}

void FrmMain::SetPanelPicture(StylePicture picture)
{
    m_panelPicture = picture;
    m_pictureLabel->setPixmap(Artwork::StylePicture(picture).pixmap(16, 16));
}

void FrmMain::ShowDateKind()
{
    m_panels[2]->setText(m_table.LookPurgeBy().Text());
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        ListKeyPress(*static_cast<QKeyEvent*>(event)))
        return true;
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

void FrmMain::HideToTray()
{
    if (!m_trayAvailable) {
        setWindowState(windowState() | Qt::WindowMinimized);
        return;
    }
    // Only a window the desktop has placed has a place to come back to.
    if (isVisible() && windowHandle() && windowHandle()->isExposed())
        m_trayGeometry = saveGeometry();
    setWindowState(windowState() | Qt::WindowMinimized);
    hide();
}

// From the tray the window comes back as a new native window: the desktop may still hold the
// old one as iconic (with "/systray" it is minimised before the desktop has even taken it
// in) and would map it iconic again, so that the first double-click showed nothing.
void FrmMain::ShowFromTray()
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
void FrmMain::OpenExecutor(PurgeRun& run)
{
    std::erase_if(m_executorWindows, [](const QPointer<ExecutorWindow>& w) { return w.isNull(); });
    auto* window = new ExecutorWindow(run);
    // Over the main window, each one a step down and right of those open, so none hides another.
    const int step =
        style()->pixelMetric(QStyle::PM_TitleBarHeight) * static_cast<int>(m_executorWindows.size() % 8);
    PlaceOver(*window, *this, QPoint(step, step));
    m_executorWindows.emplace_back(window);
    window->show();
    ShowRunning(run.Values()[0]);
    // Raised once the launch is over: Run Now gives the main window the focus back, which
    // the desktop would otherwise show in front of the new window.
    QTimer::singleShot(0, window, &QWidget::raise);
}

void FrmMain::ShowRunning(const QString& folder)
{
    for (int i = 0; i < m_table.Count(); ++i) {
        if (m_table.Row(i).FolderLoc == folder)
            m_table.ShowRunning(i);
    }
}

void FrmMain::CheckStatTick()
{
    TimerCheckStatTick(m_table, m_programFolder);
    // Our own runs show as running also before their marker is written, or when the status
    // file lost it: a row that looked idle would offer Run Now on a folder still being purged.
    for (const QString& folder : m_executors->FoldersUnderWay())
        ShowRunning(folder);
}

void FrmMain::Unload()
{
    m_timerCheckJob->stop();
    m_timerCheckStat->stop();
    m_executors->StopAll();
    m_executors->WaitAll();
    for (const QPointer<ExecutorWindow>& window : m_executorWindows) {
        if (window)
            window->close();
    }
    m_executorWindows.clear();
    hide();
    Q_EMIT Unloaded();
}

void FrmMain::Exit()
{
    m_exit->setProperty("Tag", QStringLiteral("ExitProg"));
    close();
}

// The executor windows come to the front with the main window, so none is left deleting
// behind it. They are not made transient for it: a dialog modal to the main window would then
// block their Stop as well.
void FrmMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        for (const QPointer<ExecutorWindow>& window : m_executorWindows) {
            if (window)
                window->raise();
        }
    }
    QMainWindow::changeEvent(event);
}

void FrmMain::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (m_exit->property("Tag").toString() != QLatin1String("ExitProg")) {
        HideToTray();
        return;
    }
    if (!ConfirmExit()) {
        m_exit->setProperty("Tag", QStringLiteral("NoExit"));
        return;
    }
    event->accept();
    Unload();
}

// The exit question, with a line more for the runs that the exit stops. Unsaved changes
// to the table are saved by default rather than thrown away; a save that fails keeps the
// program open.
bool FrmMain::ConfirmExit()
{
    const QString title = QStringLiteral("Exit Program");
    QString question = QStringLiteral("Do you want to close this program?");
    if (const int runs = m_executors->RunningCount())
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
        if (SaveJobList(m_table, m_programFolder))
            return true;
        MessageWindowModal(this, QMessageBox::Critical, QStringLiteral("Error"),
                           QStringLiteral("The jobs could not be saved to ") +
                               ConfigDatPath(m_programFolder) + QStringLiteral(". The program stays open.  "),
                           QMessageBox::Ok);
        return false;
    default:
        return false;
    }
}
