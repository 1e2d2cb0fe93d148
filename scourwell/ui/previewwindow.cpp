// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/previewwindow.h"

#include "ui/itemtable.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Often enough to look live, seldom enough that a million items arrive in few batches.
constexpr int TakeIntervalMs = 100;
// The list grows by slices of this many items, for no longer than this at a time.
constexpr size_t SliceItems = 4096;
constexpr qint64 SliceBudgetMs = 20;

// The dry run's words, as a column shows them.
QString ReasonText(DecisionReason reason)
{
    if (reason == DecisionReason::OldEnough)
        return QStringLiteral("Older than the job's age");
    return QStringLiteral("Kept: ") + QString::fromLatin1(ReasonWords(reason));
}

// By default only what would go; with the box ticked, what stays as well.
class GoesFilter : public QSortFilterProxyModel
{
public:
    GoesFilter(PreviewModel& model, QObject* parent) : QSortFilterProxyModel(parent), m_model(model)
    {
        setSourceModel(&model);
    }

    void ShowKept(bool on)
    {
        m_showKept = on;
        invalidateRowsFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override
    {
        return m_showKept || m_model.Item(row).reason == DecisionReason::OldEnough;
    }

private:
    PreviewModel& m_model;
    bool m_showKept = false;
};

} // namespace

PreviewModel::PreviewModel(TimeUnit unit, QObject* parent)
    : TitledTableModel({QStringLiteral("Path"), QStringLiteral("Kind"), QStringLiteral("Size"),
                        QStringLiteral("Date"), QStringLiteral("Age"), QStringLiteral("Why")},
                       parent),
      m_unit(unit)
{
}

void PreviewModel::Append(std::vector<PreviewItem>&& items)
{
    if (items.empty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(items.size()) - 1);
    m_items.insert(m_items.end(), std::make_move_iterator(items.begin()),
                   std::make_move_iterator(items.end()));
    endInsertRows();
}

int PreviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_items.size());
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const PreviewItem& item = Item(index.row());
    switch (index.column()) {
    case Path:
        return QFile::decodeName(item.path);
    case Kind:
        return ItemKindText(item.kind);
    case Size:
        return item.date ? QLocale().toString(item.size) : QString();
    case Date:
        return ItemDateText(item.date);
    case Age:
        return item.date ? QString::number(item.age) + QLatin1Char(' ') + Spelling(m_unit) : QString();
    case Why:
        return ReasonText(item.reason);
    default:
        return {};
    }
}

PreviewWindow::PreviewWindow(PurgeRequest request, const Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::Window), m_model(new PreviewModel(request.purgeValOf, this))
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Preview - ") + request.folder);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);

    auto* filter = new GoesFilter(*m_model, this);
    m_filter = filter;
    auto* list = NewItemTable(this, QStringLiteral("PreviewList"),
                              QStringLiteral("What the job would delete"), m_filter);
    FitColumns(*list, PreviewModel::Path,
               {{PreviewModel::Kind, QStringLiteral("Folder")},
                {PreviewModel::Size, QLocale().toString(999999999)},
                {PreviewModel::Date, QStringLiteral("2000-00-00 00:00")},
                {PreviewModel::Age, QStringLiteral("99999 Minute")},
                {PreviewModel::Why, ReasonText(DecisionReason::HoldsKept)}});

    m_showKept = new QCheckBox(QStringLiteral("Show what is kept, and why"), this);
    m_showKept->setObjectName(QStringLiteral("chkShowKept"));
    connect(m_showKept, &QCheckBox::toggled, this, [filter](bool on) { filter->ShowKept(on); });

    m_totals = new QLabel(this);
    m_totals->setObjectName(QStringLiteral("PreviewTotals"));

    auto* runNow = new QPushButton(QStringLiteral("&Run Now"), this);
    runNow->setObjectName(QStringLiteral("CmdRunNow"));
    m_runNow = runNow;
    connect(runNow, &QPushButton::clicked, this, [this] {
        Stop();
        Q_EMIT RunNowRequested();
        close();
    });
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("CmdCancel"));
    connect(cancel, &QPushButton::clicked, this, [this] {
        Stop();
        close();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_showKept);
    buttons->addStretch();
    buttons->addWidget(runNow);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    layout->addWidget(m_totals);
    layout->addLayout(buttons);

    ShowTotals(m_sofar, false);
    connect(&m_timer, &QTimer::timeout, this, &PreviewWindow::TakeNew);
    m_timer.start(TakeIntervalMs);

    request.dryRun = true;
    m_worker = std::thread([this, request = std::move(request), &clock] {
        // Handed over a batch at a time: a lock for every item would slow the walk.
        constexpr size_t HandOverEvery = 256;
        std::vector<PreviewItem> decided;
        const auto handOver = [this, &decided] {
            const std::lock_guard lock(m_mutex);
            m_pending.insert(m_pending.end(), std::make_move_iterator(decided.begin()),
                             std::make_move_iterator(decided.end()));
            decided.clear();
        };
        const PurgeResult result =
            RunSchedule(request, clock, m_stop, {}, {}, [&](const ItemDecision& decision) {
                decided.push_back({QByteArray(decision.path.data(), decision.path.size()), decision.kind,
                                   decision.reason, decision.size, decision.date, decision.age});
                if (decided.size() == HandOverEvery)
                    handOver();
            });
        handOver();
        const std::lock_guard lock(m_mutex);
        m_result = result;
    });
}

PreviewWindow::~PreviewWindow()
{
    Stop();
    if (m_worker.joinable())
        m_worker.join();
}

void PreviewWindow::SetRunNowOffered(bool offered)
{
    m_runNow->setVisible(offered);
}

void PreviewWindow::Stop()
{
    m_stop = true;
}

void PreviewWindow::TakeNew()
{
    std::optional<PurgeResult> result;
    {
        const std::lock_guard lock(m_mutex);
        m_backlog.insert(m_backlog.end(), std::make_move_iterator(m_pending.begin()),
                         std::make_move_iterator(m_pending.end()));
        m_pending.clear();
        result = m_result;
    }
    // The list takes the backlog a slice at a time and lets the window answer between
    // slices, however fast the walk goes.
    QElapsedTimer spent;
    spent.start();
    while (!m_backlog.empty() && spent.elapsed() < SliceBudgetMs) {
        const auto last =
            m_backlog.begin() + static_cast<std::ptrdiff_t>(std::min(SliceItems, m_backlog.size()));
        std::vector<PreviewItem> slice(std::make_move_iterator(m_backlog.begin()),
                                       std::make_move_iterator(last));
        m_backlog.erase(m_backlog.begin(), last);
        for (const PreviewItem& item : slice) {
            if (item.reason != DecisionReason::OldEnough)
                continue;
            ++m_sofar.count;
            ++(item.kind == PurgeItemKind::Folder ? m_sofar.folders : m_sofar.files);
            m_sofar.bytes += item.size;
        }
        m_model->Append(std::move(slice));
    }
    const bool behind = !m_backlog.empty();
    m_timer.setInterval(behind ? 0 : TakeIntervalMs);
    if (!result || behind) {
        ShowTotals(m_sofar, false);
        return;
    }
    // The worker set the result after its last item, so everything is in the list.
    m_timer.stop();
    m_finished = true;
    ShowTotals(*result, true);
}

void PreviewWindow::ShowTotals(const PurgeResult& totals, bool final)
{
    if (final && totals.outcome == PurgeOutcome::NotOpened) {
        m_totals->setText(QStringLiteral("The folder could not be opened: nothing would go."));
        return;
    }
    const QLocale locale;
    QString text = QStringLiteral("%1 files, %2 folders, %3 bytes would go")
                       .arg(locale.toString(totals.files), locale.toString(totals.folders),
                            locale.toString(totals.bytes));
    if (!final)
        text += QStringLiteral(" (still looking)");
    else if (totals.outcome == PurgeOutcome::Stopped)
        text += QStringLiteral(" (stopped)");
    m_totals->setText(text);
}
