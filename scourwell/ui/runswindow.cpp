// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/runswindow.h"

#include "ui/itemtable.h"
#include "ui/windowmodal.h"

#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

namespace {

// Often enough to look live.
constexpr int ProgressIntervalMs = 100;

QString EndText(RecordEnd end)
{
    switch (end) {
    case RecordEnd::Complete:
        return QStringLiteral("Complete");
    case RecordEnd::Stopped:
        return QStringLiteral("Stopped");
    case RecordEnd::NotOpened:
        return QStringLiteral("Not opened");
    case RecordEnd::Unfinished:
        break;
    }
    return QStringLiteral("Unfinished");
}

QString OutcomeText(RestoreOutcome outcome)
{
    switch (outcome) {
    case RestoreOutcome::Restored:
        return QStringLiteral("Put back");
    case RestoreOutcome::PlaceTaken:
        return QStringLiteral("Left in the Trash: its place is taken");
    case RestoreOutcome::GoneFromTrash:
        return QStringLiteral("Gone from the Trash");
    case RestoreOutcome::ParentMissing:
        return QStringLiteral("Left in the Trash: its folder is gone");
    case RestoreOutcome::Failed:
        return QStringLiteral("Left in the Trash: not movable");
    case RestoreOutcome::NotReached:
        break;
    }
    return QStringLiteral("Left in the Trash: undo stopped");
}

QString StartText(const RunRecord& record)
{
    return record.start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

bool Undoable(const RunRecord& record)
{
    return record.removal == Removal::MoveToTrash && record.count > 0;
}

QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

RunListModel::RunListModel(QObject* parent)
    : TitledTableModel({QStringLiteral("Started"), QStringLiteral("Folder"), QStringLiteral("Style"),
                        QStringLiteral("Files"), QStringLiteral("Folders"), QStringLiteral("Bytes"),
                        QStringLiteral("Removed"), QStringLiteral("End")},
                       parent)
{
}

void RunListModel::Reset(std::vector<RunRecord> records)
{
    beginResetModel();
    m_records = std::move(records);
    endResetModel();
}

int RunListModel::RowOf(const QString& file) const
{
    const auto found = std::find_if(m_records.begin(), m_records.end(),
                                    [&file](const RunRecord& record) { return record.file == file; });
    return found == m_records.end() ? -1 : static_cast<int>(found - m_records.begin());
}

int RunListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_records.size());
}

QVariant RunListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole && index.column() >= Files && index.column() <= Bytes)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const RunRecord& record = Record(index.row());
    const QLocale locale;
    switch (index.column()) {
    case Time:
        return StartText(record);
    case Folder:
        return record.folder;
    case Style:
        return record.style;
    case Files:
        return locale.toString(record.files);
    case Folders:
        return locale.toString(record.folders);
    case Bytes:
        return record.sizesKnown ? locale.toString(record.bytes) : QString();
    case Removed:
        return record.removal == Removal::MoveToTrash ? QStringLiteral("To the Trash")
                                                      : QStringLiteral("Deleted");
    case End:
        return EndText(record.end);
    default:
        return {};
    }
}

RunItemsModel::RunItemsModel(QObject* parent)
    : TitledTableModel({QStringLiteral("Path"), QStringLiteral("Kind"), QStringLiteral("Size"),
                        QStringLiteral("Date"), QStringLiteral("In the Trash"), QStringLiteral("Undo")},
                       parent)
{
}

void RunItemsModel::Reset(std::vector<RecordedItem> items, const std::vector<RestoredItem>& outcomes)
{
    beginResetModel();
    m_items = std::move(items);
    m_outcomes.clear();
    // Put back last first: the outcomes run against the record's order.
    if (outcomes.size() == m_items.size()) {
        for (auto restored = outcomes.crbegin(); restored != outcomes.crend(); ++restored)
            m_outcomes.push_back(restored->outcome);
    }
    endResetModel();
}

int RunItemsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_items.size());
}

QVariant RunItemsModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const auto row = static_cast<size_t>(index.row());
    const RecordedItem& item = m_items[row];
    switch (index.column()) {
    case Path:
        return QFile::decodeName(item.path);
    case Kind:
        return ItemKindText(item.kind);
    case Size:
        return item.sizeKnown ? QLocale().toString(item.size) : QString();
    case Date:
        return ItemDateText(item.date);
    case InTrash:
        return QFile::decodeName(item.trashPath);
    case Undo:
        return m_outcomes.empty() ? QString() : OutcomeText(m_outcomes[row]);
    default:
        return {};
    }
}

RunsWindow::RunsWindow(QString programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_programFolder(std::move(programFolder)), m_runs(new RunListModel(this)),
      m_items(new RunItemsModel(this))
{
    setObjectName(QStringLiteral("frmRuns"));
    setWindowTitle(QStringLiteral("Runs"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);

    m_runList = NewItemTable(this, QStringLiteral("RunList"), QStringLiteral("Recent runs"), m_runs);
    m_runList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_runList->installEventFilter(this);
    const QLocale locale;
    FitColumns(*m_runList, RunListModel::Folder,
               {{RunListModel::Time, QStringLiteral("2000-00-00 00:00:00")},
                {RunListModel::Style, QStringLiteral("Subfolders Only")},
                {RunListModel::Files, locale.toString(999999)},
                {RunListModel::Folders, locale.toString(999999)},
                {RunListModel::Bytes, locale.toString(99999999999)},
                {RunListModel::Removed, QStringLiteral("To the Trash")},
                {RunListModel::End, EndText(RecordEnd::Unfinished)}});
    auto* itemList =
        NewItemTable(this, QStringLiteral("ItemList"), QStringLiteral("Items of the run"), m_items);
    FitColumns(*itemList, RunItemsModel::Path,
               {{RunItemsModel::Kind, QStringLiteral("Folder")},
                {RunItemsModel::Size, locale.toString(999999999)},
                {RunItemsModel::Date, QStringLiteral("2000-00-00 00:00")},
                {RunItemsModel::Undo, OutcomeText(RestoreOutcome::PlaceTaken)}});
    // Where each went shares the room with where it was.
    itemList->horizontalHeader()->setSectionResizeMode(RunItemsModel::InTrash, QHeaderView::Stretch);

    m_itemsTitle = new QLabel(QStringLiteral("Open a run to see its items."), this);
    m_itemsTitle->setObjectName(QStringLiteral("ItemsTitle"));
    auto* lower = new QWidget(this);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(m_itemsTitle);
    lowerLayout->addWidget(itemList);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_runList);
    splitter->addWidget(lower);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("UndoSummary"));
    m_summary->setWordWrap(true);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("UndoProgress"));
    m_progress->setAccessibleName(QStringLiteral("Items put back"));
    m_progress->hide();

    m_open = NewButton(this, QStringLiteral("CmdOpen"), QStringLiteral("&Open"));
    m_undo = NewButton(this, QStringLiteral("CmdUndo"), QStringLiteral("&Undo Run"));
    m_stop = NewButton(this, QStringLiteral("CmdStop"), QStringLiteral("&Stop"));
    m_stop->hide();
    auto* refresh = NewButton(this, QStringLiteral("CmdRefresh"), QStringLiteral("&Refresh"));
    auto* close = NewButton(this, QStringLiteral("CmdClose"), QStringLiteral("&Close"));
    connect(m_open, &QPushButton::clicked, this, &RunsWindow::OpenSelected);
    connect(m_undo, &QPushButton::clicked, this, &RunsWindow::AskUndo);
    connect(m_stop, &QPushButton::clicked, this, [this] { m_stopUndo = true; });
    connect(refresh, &QPushButton::clicked, this, &RunsWindow::Reload);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_runList, &QTableView::doubleClicked, this, &RunsWindow::OpenSelected);
    connect(m_runList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RunsWindow::EnableCommands);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_open);
    buttons->addWidget(m_undo);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_progress, 1);
    buttons->addStretch();
    buttons->addWidget(refresh);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_summary);
    layout->addLayout(buttons);

    connect(&m_progressTimer, &QTimer::timeout, this, &RunsWindow::ShowUndoProgress);
    m_runList->setFocus();
}

RunsWindow::~RunsWindow()
{
    m_stopUndo = true;
    for (std::thread& worker : m_workers)
        worker.join();
}

template <typename Work, typename Done> void RunsWindow::OffThread(int& generation, Work work, Done done)
{
    const int mine = ++generation;
    m_workers.emplace_back([this, &generation, mine, work = std::move(work), done = std::move(done)] {
        auto result = work();
        // Posted to the window: it is deleted only after this thread is joined.
        QMetaObject::invokeMethod(
            this,
            [&generation, mine, done, result = std::move(result)] {
                if (generation == mine)
                    done(result);
            },
            Qt::QueuedConnection);
    });
}

void RunsWindow::ShowRunsOf(const QString& folder)
{
    m_folder = folder;
    setWindowTitle(folder.isEmpty() ? QStringLiteral("Runs") : QStringLiteral("Runs - ") + folder);
    Reload();
}

void RunsWindow::UndoRunOf(const QString& recordFile)
{
    m_pendingUndo = recordFile;
    Reload();
}

void RunsWindow::Reload()
{
    EnableCommands();
    OffThread(
        m_runsRead,
        [programFolder = m_programFolder, folder = m_folder] {
            std::vector<RunRecord> records = ReadRunRecords(programFolder);
            if (!folder.isEmpty())
                std::erase_if(records,
                              [&folder](const RunRecord& record) { return record.folder != folder; });
            return records;
        },
        [this](const std::vector<RunRecord>& records) { TakeRuns(records); });
}

void RunsWindow::TakeRuns(std::vector<RunRecord> records)
{
    const RunRecord* selected = SelectedRun();
    const QString keep = !m_pendingUndo.isEmpty() ? m_pendingUndo : selected ? selected->file : QString();
    m_runs->Reset(std::move(records));
    if (m_runs->rowCount() > 0)
        m_runList->selectRow(std::max(0, m_runs->RowOf(keep)));
    EnableCommands();
    if (m_pendingUndo.isEmpty())
        return;
    const QString pending = std::exchange(m_pendingUndo, QString());
    if (m_runs->RowOf(pending) < 0)
        m_summary->setText(QStringLiteral("The record of that run is gone: it cannot be undone."));
    else
        AskUndo();
}

const RunRecord* RunsWindow::SelectedRun() const
{
    const QModelIndexList rows = m_runList->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : &m_runs->Record(rows.first().row());
}

void RunsWindow::OpenSelected()
{
    const RunRecord* run = SelectedRun();
    if (!run)
        return;
    m_itemsTitle->setText(QStringLiteral("Reading the items of the run of %1...").arg(StartText(*run)));
    OffThread(
        m_itemsRead, [file = run->file] { return ReadRunRecord(file); },
        [this](const std::optional<RunRecord>& record) {
            if (!record) {
                m_items->Reset({});
                m_itemsTitle->setText(QStringLiteral("The record of the run could not be read."));
                return;
            }
            m_items->Reset(record->items);
            m_itemsTitle->setText(QStringLiteral("%1 items of the run of %2 in %3")
                                      .arg(QLocale().toString(qint64(record->items.size())),
                                           StartText(*record), record->folder));
        });
}

void RunsWindow::AskUndo()
{
    const RunRecord* run = SelectedRun();
    if (!run || !Undoable(*run) || m_undoing)
        return;
    const QString file = run->file;
    const QString question =
        QStringLiteral(
            "Put back what the run of %1 in %2 moved to the Trash?\n\nOnly what is still in the Trash "
            "goes back. Nothing is overwritten: an item whose place is taken stays in the Trash.")
            .arg(StartText(*run), run->folder);
    if (MessageWindowModal(this, QMessageBox::Question, QStringLiteral("Undo Run"), question,
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes)
        StartUndo(file);
}

void RunsWindow::StartUndo(const QString& recordFile)
{
    m_undoing = true;
    m_stopUndo = false;
    m_undoDone = 0;
    m_undoTotal = 0;
    m_summary->setText(QStringLiteral("Putting the items back..."));
    m_progress->setValue(0);
    m_progress->show();
    m_stop->show();
    m_progressTimer.start(ProgressIntervalMs);
    EnableCommands();
    OffThread(
        m_undos,
        [this, recordFile] {
            const std::optional<RunRecord> record = ReadRunRecord(recordFile);
            RestoreResult result;
            if (record)
                result = RestoreFromTrash(*record, m_stopUndo, [this](qint64 done, qint64 total) {
                    m_undoTotal = total;
                    m_undoDone = done;
                });
            return std::pair{record, result};
        },
        [this](const std::pair<std::optional<RunRecord>, RestoreResult>& ended) {
            UndoEnded(ended.first, ended.second);
        });
}

void RunsWindow::ShowUndoProgress()
{
    m_progress->setRange(0, static_cast<int>(std::min<qint64>(m_undoTotal, INT_MAX)));
    m_progress->setValue(static_cast<int>(std::min<qint64>(m_undoDone, INT_MAX)));
}

void RunsWindow::UndoEnded(const std::optional<RunRecord>& record, const RestoreResult& result)
{
    m_undoing = false;
    m_progressTimer.stop();
    m_progress->hide();
    m_stop->hide();
    EnableCommands();
    if (!record) {
        m_summary->setText(QStringLiteral("The record of the run could not be read: nothing was put back."));
        return;
    }
    m_items->Reset(record->items, result.items);
    m_itemsTitle->setText(
        QStringLiteral("%1 items of the run of %2 in %3, and what the undo did with each")
            .arg(QLocale().toString(qint64(record->items.size())), StartText(*record), record->folder));
    const qint64 stayed = qint64(result.items.size()) - result.restored;
    QString text =
        QStringLiteral("%1 of %2 items put back")
            .arg(QLocale().toString(result.restored), QLocale().toString(qint64(result.items.size())));
    if (stayed > 0)
        text += QStringLiteral("; %1 not, each with its reason in the list").arg(QLocale().toString(stayed));
    text += result.stopped ? QStringLiteral(" (stopped).") : QStringLiteral(".");
    m_summary->setText(text);
}

void RunsWindow::EnableCommands()
{
    const RunRecord* run = SelectedRun();
    m_open->setEnabled(run != nullptr);
    m_undo->setEnabled(run != nullptr && Undoable(*run) && !m_undoing);
}

// Return or Enter on a run opens it, as a double-click does.
bool RunsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_runList && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            OpenSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// An undo under way stops at its next item; the window waits for it as it goes.
void RunsWindow::closeEvent(QCloseEvent* event)
{
    m_stopUndo = true;
    QWidget::closeEvent(event);
}
