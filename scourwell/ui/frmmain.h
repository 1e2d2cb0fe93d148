#pragma once

#include "config/jobtable.h"
#include "ui/artwork.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>
#include <vector>

class Clock;
class ExecutorWindow;
class JobLauncher;
class JobTableModel;
class QLabel;
class QKeyEvent;
class QMenu;
class QTimer;
class PurgeRun;
class QTreeView;
class ScourwellThread;

// The main window: the job list over the job table, its menus and toolbar (their commands
// are connected by objectName from outside), the status bar and the two timers that run the
// schedule. The close box hides it; only File > Exit ends the program, after a question.
class FrmMain : public QMainWindow
{
    Q_OBJECT

public:
    // trayAvailable: whether hiding leaves a tray icon to come back by; without one the
    // window is only minimised, so the program can always be reached.
    FrmMain(const QString& programFolder, const QString& executableFolder, const Clock& clock,
            bool trayAvailable, QWidget* parent = nullptr);
    ~FrmMain() override;

    JobTable& Table() { return m_table; }
    const QString& ProgramFolder() const { return m_programFolder; }
    const Clock& GetClock() const { return m_clock; }
    JobLauncher& Launcher();
    // The launcher of the runs, which also tracks them until they end.
    ScourwellThread& Executors() { return *m_executors; }
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

Q_SIGNALS:
    // The program is to end: the exit was confirmed and the runs have finished.
    void Unloaded();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenus();
    void CreateToolbar();
    void CreateList();
    void CreateStatusBar();
    void CreateTimers();
    void SetListColumns();

    void ItemClick();
    // Enables the row commands of the context menu by the row's icon.
    void EnableRowCommands(const JobRow& row);
    void ColumnClick(int section);
    // Enables the row commands of the context menu by whether the table has rows.
    void PrepareContext();
    void PopupContext(const QPoint& globalPos);
    // The list's keys for the row commands; true when the key was one of them.
    bool ListKeyPress(const QKeyEvent& event);
    void SetPanelPicture(StylePicture picture);
    void ShowDateKind();
    void Exit();
    // Asks whether to end the program; true when it is to end.
    bool ConfirmExit();
    void OpenExecutor(PurgeRun& run);
    // Rows on this folder show the running icon, their own icon saved as the status tick
    // saves it, so that the tick gives it back once the run is over.
    void ShowRunning(const QString& folder);
    void CheckStatTick();

    const QString m_programFolder;
    const Clock& m_clock;
    const bool m_trayAvailable;

    JobTable m_table;
    std::vector<QPointer<ExecutorWindow>> m_executorWindows;
    std::unique_ptr<ScourwellThread> m_executors;
    JobTableModel* m_model = nullptr;
    QTreeView* m_list = nullptr;
    QMenu* m_context = nullptr;
    QAction* m_exit = nullptr;
    std::array<QLabel*, 3> m_panels{};
    QLabel* m_pictureLabel = nullptr;
    StylePicture m_panelPicture = StylePicture::Neutral;
    // Per column: the direction of its next sort flips at each click, first ascending.
    std::array<bool, 7> m_ascending{};
    QTimer* m_timerCheckJob = nullptr;
    QTimer* m_timerCheckStat = nullptr;
    // Where the window was when it went to the tray.
    QByteArray m_trayGeometry;
};
