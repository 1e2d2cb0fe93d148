// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/executorwindow.h"

#include "purge/logmod.h"
#include "purge/purgerun.h"
#include "ui/artwork.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace {

const char* WindowName(PurgeStyle style)
{
    switch (style) {
    case PurgeStyle::FilesOnly:
        return "frmJobFiles";
    case PurgeStyle::IncludeFilesInSubfolders:
        return "frmJobFileSubfolders";
    case PurgeStyle::SubfoldersOnly:
        return "frmJobSubfolders";
    }
    return "frmJobFiles";
}

// What each launch value is, for the person watching.
constexpr std::array<const char*, 10> Captions{
    "Folder:",       "Status:", "Purge value:", "of:",       "Started as:",
    "Purge object:", "Every:",  "of:",          "Run time:", "Delete by:"};

// A launch value as the person watching reads it; text() keeps the value itself. The log's
// empty-cell mark shows as an empty field, and a long value, the folder above all, is cut in
// its middle to the width there is, with the whole of it as the tooltip.
class ValueLabel : public QLabel
{
public:
    ValueLabel(const QString& value, QWidget* parent) : QLabel(value, parent)
    {
        if (Shown() != value || fontMetrics().horizontalAdvance(value) > MaxWidth())
            setToolTip(value);
        setTextInteractionFlags(Qt::NoTextInteraction);
        setMinimumWidth(fontMetrics().averageCharWidth() * 12);
    }

    QSize sizeHint() const override
    {
        const QSize hint = QLabel::sizeHint();
        return {std::min(hint.width(), MaxWidth()), hint.height()};
    }
    QSize minimumSizeHint() const override { return {minimumWidth(), QLabel::minimumSizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect room = contentsRect();
        painter.drawText(room, int(alignment()),
                         fontMetrics().elidedText(Shown(), Qt::ElideMiddle, room.width()));
    }

private:
    QString Shown() const { return text() == LogNoValue ? QString() : text(); }
    int MaxWidth() const { return fontMetrics().averageCharWidth() * 60; }
};

// How often the window shows the run's progress: often enough to see it move.
constexpr int ProgressInterval = 250;

QLabel* ProgressLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

ExecutorWindow::ExecutorWindow(PurgeRun& run, QWidget* parent) : QWidget(parent, Qt::Window), m_run(&run)
{
    setObjectName(QLatin1String(WindowName(run.Style())));
    setWindowTitle(QStringLiteral("Scourwell Executor"));
    setWindowIcon(Artwork::AppIcon());
    setAttribute(Qt::WA_DeleteOnClose);

    auto* values = new QFormLayout;
    values->setLabelAlignment(Qt::AlignRight);
    const std::array<QString, 10> texts = run.Values().InKeyOrder();
    for (size_t i = 0; i < texts.size(); ++i) {
        auto* label = new ValueLabel(texts[i], this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        values->addRow(QLatin1String(Captions[i]), label);
    }

    m_examined = ProgressLabel("Examined", this);
    m_deleted = ProgressLabel("Deleted", this);
    m_elapsed = ProgressLabel("Elapsed", this);
    m_place = ProgressLabel("Place", this);
    auto* progress = new QFormLayout;
    progress->setLabelAlignment(Qt::AlignRight);
    progress->addRow(QStringLiteral("Examined:"), m_examined);
    // A trash run deletes nothing: it says where what it removed went.
    progress->addRow(run.Values().moveToTrash ? QStringLiteral("To the Trash:") : QStringLiteral("Deleted:"),
                     m_deleted);
    progress->addRow(QStringLiteral("Elapsed:"), m_elapsed);
    progress->addRow(QStringLiteral("In:"), m_place);

    auto* thread = new QLabel(QStringLiteral("New Thread Id:") + QString::number(run.ThreadId()), this);
    thread->setObjectName(QStringLiteral("Thread"));
    auto* process = new QLabel(
        QStringLiteral("Current Process ID:") + QString::number(QCoreApplication::applicationPid()), this);
    process->setObjectName(QStringLiteral("Process"));

    m_stop = new QPushButton(QStringLiteral("Stop"), this);
    m_stop->setObjectName(QStringLiteral("CmdStop"));
    connect(m_stop, &QPushButton::clicked, this, &ExecutorWindow::Stop);

    auto* ids = new QVBoxLayout;
    ids->addWidget(thread);
    ids->addWidget(process);
    auto* foot = new QHBoxLayout;
    foot->addLayout(ids, 1);
    foot->addWidget(m_stop, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(values);
    layout->addSpacing(8);
    layout->addLayout(progress);
    layout->addSpacing(8);
    layout->addLayout(foot);
    setMinimumWidth(420);

    connect(&run, &PurgeRun::Finished, this, &QWidget::close);
    m_since.start();
    ShowProgress();
    auto* timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("TimerProgress"));
    connect(timer, &QTimer::timeout, this, &ExecutorWindow::ShowProgress);
    timer->start(ProgressInterval);
}

void ExecutorWindow::ShowProgress()
{
    if (!m_run)
        return;
    const RunProgress progress = m_run->Progress();
    const QLocale numbers = QLocale::c();
    m_examined->setText(QString::number(progress.examined));
    // A folder removed whole is not sized (see ItemDecision::sizeKnown): then the count alone.
    m_deleted->setText(
        progress.sizesKnown
            ? QStringLiteral("%1 (%2)").arg(progress.removed).arg(numbers.formattedDataSize(progress.bytes))
            : QString::number(progress.removed));
    const qint64 seconds = m_since.elapsed() / 1000;
    m_elapsed->setText(QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0')));
    // A long folder is cut in its middle to the room the values have; the tooltip has all of it.
    const int room = fontMetrics().averageCharWidth() * 60;
    m_place->setText(fontMetrics().elidedText(progress.folder, Qt::ElideMiddle, room));
    m_place->setToolTip(progress.folder);
}

// The window stays until the worker has stopped at its next item and written its row, so
// that nothing deletes with no window on screen and the job still shows as running.
void ExecutorWindow::Stop()
{
    if (m_run && !m_run->IsFinished()) {
        m_run->RequestStop();
        m_stop->setEnabled(false);
    } else
        close();
}

// Closing a window whose run is still under way stops the run; the window goes once the run
// has ended (its Finished closes it). The close never blocks the user-interface thread.
void ExecutorWindow::closeEvent(QCloseEvent* event)
{
    if (m_run && !m_run->IsFinished()) {
        Stop();
        event->ignore();
        return;
    }
    if (m_run)
        m_run->RemoveMarker();
    event->accept();
}
