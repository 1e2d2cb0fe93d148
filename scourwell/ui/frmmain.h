// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/jobtable.h"
#include "schedule/jobhost.h"
#include "ui/artwork.h"
#include "ui/commandtable.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <utility>
#include <vector>

class ExecutorWindow;
class JobTableModel;
class QLabel;
class QKeyEvent;
class QMenu;
class PurgeRun;
class QTreeView;
struct WindowState;

// The main window, a view of the job host: the job list over its table, the menus and toolbar
// built from the command table (what their commands do is MainCommands'), the status bar and
// a window for each run. It loads the jobs and starts the host's timers. The close box hides
// it; only File > Exit ends the program, after a question.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    // None at start, ExitProg once File > Exit asks to end the program, NoExit after its
    // question was declined. A close asks only in ExitProg; otherwise it hides to the tray.
    enum class ExitState
    {
        None,
        ExitProg,
        NoExit
    };

    // trayAvailable: whether hiding leaves a tray icon to come back by; without one the
    // window is only minimised, so the program can always be reached.
    // The host outlives the window.
    frmMain(JobHost& host, bool trayAvailable, QWidget* parent = nullptr);

    JobHost& Host() { return m_host; }
    JobTable& Table() { return m_host.Table(); }
    const QString& ProgramFolder() const { return m_host.ProgramFolder(); }
    const Clock& GetClock() const { return m_host.GetClock(); }
    JobLauncher& Launcher() { return m_host.Launcher(); }
    // The launcher of the runs, which also tracks them until they end.
    ScourwellThread& Executors() { return m_host.Executors(); }
    QTreeView* List() const { return m_list; }
    // Status bar panel 1..3 (the text labels "Panel1".."Panel3").
    QLabel* Panel(int n) const;
    // The style picture of panel 1.
    StylePicture PanelPicture() const { return m_panelPicture; }
    // The selected row's 0-based index, or -1.
    int SelectedRow() const;

    // Clears the job summary: blanks in panels 1 and 2, the neutral picture.
    void FocusReset();
    // Minimised and hidden to the tray (only minimised where there is no tray).
    void HideToTray();
    // Back from the tray or the task bar: shown in the normal state where it was, in front.
    void ShowFromTray();
    // Stops the runs in flight and waits for their log rows, then reports Unloaded.
    void Unload();
    // File > Exit: closes the window with the exit state set, so that the close asks to end.
    void Exit();
    ExitState GetExitState() const { return m_exitState; }

Q_SIGNALS:
    // A menu item or toolbar button was chosen.
    void CommandTriggered(MainCommand command);
    // The program is to end: the exit was confirmed and the runs have finished.
    void Unloaded();
    // Undo was chosen for the run of this record (from its notification).
    void UndoRunAsked(const QString& recordFile);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenus();
    void CreateToolbar();
    // The action of a command item, which reports the item's command when triggered.
    QAction* NewCommand(QObject* parent, const CommandItem& item);
    // The pictures beside the File and View items, once the window is loaded.
    void SetMenuBitmaps();
    // The context menu's item for a command.
    QAction* ContextAction(MainCommand command) const;
    void CreateList();
    void CreateStatusBar();
    void SetListColumns();
    // The size, place, column widths and sort of the last start, where the file has them.
    void RestoreWindow(const WindowState& state);
    // Keeps them for the next start, while the window shows.
    void RememberWindow() const;
    // The Folder Location column takes what the list gains or loses in width.
    void FollowListWidth();
    // Says how to add a job while the list is empty.
    void ShowEmptyHint();

    void ItemClick();
    // Enables the row commands of the context menu by the row's icon.
    void EnableRowCommands(const JobRow& row);
    void ColumnClick(int section);
    void SortBy(int section, bool ascending);
    // Enables the row commands of the context menu by whether the table has rows.
    void PrepareContext();
    void PopupContext(const QPoint& globalPos);
    // The list's keys for the row commands; true when the key was one of them.
    bool ListKeyPress(const QKeyEvent& event);
    // A command of the context menu on the selected row, as if chosen there.
    void RowCommand(MainCommand command);
    // The row icon in words on the summary panel, for its tool tip and a screen reader.
    void ShowRowState(const JobRow& row);
    void SetPanelPicture(StylePicture picture);
    void ShowDateKind();
    // Asks whether to end the program; true when it is to end.
    bool ConfirmExit();
    void OpenExecutor(PurgeRun* run);

    JobHost& m_host;
    // The host's table, which the list shows.
    JobTable& m_table;
    const bool m_trayAvailable;

    std::vector<QPointer<ExecutorWindow>> m_executorWindows;
    JobTableModel* m_model = nullptr;
    QTreeView* m_list = nullptr;
    QMenu* m_context = nullptr;
    QMenu* m_jobOptions = nullptr;
    std::vector<std::pair<MainCommand, QAction*>> m_contextActions;
    std::vector<std::pair<MainCommand, QAction*>> m_menuPictures;
    ExitState m_exitState = ExitState::None;
    std::array<QLabel*, 3> m_panels{};
    QLabel* m_pictureLabel = nullptr;
    StylePicture m_panelPicture = StylePicture::Neutral;
    // Per column: the direction of its next sort flips at each click, first ascending.
    std::array<bool, 7> m_ascending{};
    // Where the window was when it went to the tray.
    QByteArray m_trayGeometry;
    // The list width that the column widths were last fitted to.
    int m_fittedWidth = 0;
    QLabel* m_emptyHint = nullptr;
};
