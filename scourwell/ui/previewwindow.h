// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "purge/purgeengine.h"
#include "ui/itemtable.h"

#include <QTimer>
#include <QWidget>
#include <atomic>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class QCheckBox;
class QLabel;
class QSortFilterProxyModel;

// One item of a preview as the engine decided it; the path stays in the file system's bytes.
struct PreviewItem
{
    QByteArray path;
    PurgeItemKind kind = PurgeItemKind::File;
    DecisionReason reason = DecisionReason::OldEnough;
    qint64 size = 0;
    std::optional<qint64> date;
    qint64 age = 0;
};

// The decided items of a preview, appended batch by batch.
class PreviewModel : public TitledTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        Path,
        Kind,
        Size,
        Date,
        Age,
        Why
    };

    PreviewModel(TimeUnit unit, QObject* parent);

    void Append(std::vector<PreviewItem>&& items);
    const PreviewItem& Item(int row) const { return m_items[static_cast<size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const TimeUnit m_unit;
    // A deque: growing it never moves what it holds, which for a million items would keep the
    // window from its events.
    std::deque<PreviewItem> m_items;
};

// "Preview": what a purge of one request would delete, filled while a worker walks the folder
// as a dry run, so that nothing on disk changes. Deletes itself when closed.
class PreviewWindow : public QWidget
{
    Q_OBJECT

public:
    // The clock outlives the window.
    PreviewWindow(PurgeRequest request, const Clock& clock, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // Whether "Run Now" is shown (it is by default); a job not saved yet has nothing to run.
    void SetRunNowOffered(bool offered);
    // Whether the walk has ended and every item is in the list.
    bool IsFinished() const { return m_finished; }
    // Room for every column at its first opening (the window is placed by its hint).
    QSize sizeHint() const override { return {960, 480}; }

Q_SIGNALS:
    // "Run Now" was chosen: the job is to run as it would from the main window.
    void RunNowRequested();

private:
    // Moves what the worker decided since the last call into the list, as much as fits in
    // one short slice of time.
    void TakeNew();
    void ShowTotals(const PurgeResult& totals, bool final);
    void Stop();

    PreviewModel* m_model;
    QSortFilterProxyModel* m_filter;
    QCheckBox* m_showKept;
    QLabel* m_totals;
    QWidget* m_runNow;
    QTimer m_timer;

    // What would go so far, counted as the engine counts it.
    PurgeResult m_sofar;
    bool m_finished = false;
    // Decided items not yet in the list.
    std::deque<PreviewItem> m_backlog;

    std::atomic_bool m_stop{false};
    std::mutex m_mutex;
    std::vector<PreviewItem> m_pending;  // under m_mutex
    std::optional<PurgeResult> m_result; // under m_mutex, once the walk ends
    std::thread m_worker;
};
