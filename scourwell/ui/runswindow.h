// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "purge/runrecord.h"
#include "purge/trashrestore.h"
#include "ui/itemtable.h"

#include <QTimer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

// The recorded runs, newest first.
class RunListModel : public TitledTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        Time,
        Folder,
        Style,
        Files,
        Folders,
        Bytes,
        Removed,
        End
    };

    explicit RunListModel(QObject* parent = nullptr);

    void Reset(std::vector<RunRecord> records);
    const RunRecord& Record(int row) const { return m_records[static_cast<size_t>(row)]; }
    // The row of the record in file; -1 when it is not listed.
    int RowOf(const QString& file) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<RunRecord> m_records;
};

// The items of one run and, once it was undone, what became of each.
class RunItemsModel : public TitledTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        Path,
        Kind,
        Size,
        Date,
        InTrash,
        Undo
    };

    explicit RunItemsModel(QObject* parent = nullptr);

    // The items in the record's order; outcomes, when given, in the order they were put back.
    void Reset(std::vector<RecordedItem> items, const std::vector<RestoredItem>& outcomes = {});

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<RecordedItem> m_items;
    std::vector<RestoreOutcome> m_outcomes; // empty, or one per item
};

// "Runs": the recorded runs of every job, or of one folder, and the items of the one opened.
// Undo Run puts a trash run's items that are still in the trash back, on a worker with its
// progress and a Stop, after a question. The records are read off the UI thread as well.
// Lists nothing until told which runs to show. Deletes itself when closed.
class RunsWindow : public QWidget
{
    Q_OBJECT

public:
    explicit RunsWindow(QString programFolder, QWidget* parent = nullptr);
    ~RunsWindow() override;

    // Lists the runs of folder (of every folder when empty), read anew.
    void ShowRunsOf(const QString& folder);
    // Selects the run of this record once the list is read, and asks to undo it.
    void UndoRunOf(const QString& recordFile);
    // Whether an undo is under way.
    bool IsUndoing() const { return m_undoing; }
    QSize sizeHint() const override { return {960, 600}; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Runs work on a worker and hands its result to done on the window's thread, unless a
    // later call of the same kind (generation) has been made meanwhile.
    template <typename Work, typename Done> void OffThread(int& generation, Work work, Done done);

    void Reload();
    void TakeRuns(std::vector<RunRecord> records);
    const RunRecord* SelectedRun() const;
    void OpenSelected();
    void AskUndo();
    void StartUndo(const QString& recordFile);
    void ShowUndoProgress();
    void UndoEnded(const std::optional<RunRecord>& record, const RestoreResult& result);
    void EnableCommands();

    const QString m_programFolder;
    QString m_folder;
    QString m_pendingUndo;

    RunListModel* m_runs;
    RunItemsModel* m_items;
    QTableView* m_runList;
    QLabel* m_itemsTitle;
    QLabel* m_summary;
    QProgressBar* m_progress;
    QPushButton* m_open;
    QPushButton* m_undo;
    QPushButton* m_stop;
    QTimer m_progressTimer;

    // Generations of the reads and undos handed to workers.
    int m_runsRead = 0;
    int m_itemsRead = 0;
    int m_undos = 0;
    bool m_undoing = false;
    std::atomic_bool m_stopUndo{false};
    std::atomic<qint64> m_undoDone{0};
    std::atomic<qint64> m_undoTotal{0};
    std::vector<std::thread> m_workers;
};
