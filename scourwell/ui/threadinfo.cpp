#include "ui/threadinfo.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// A number written with its sign place: a blank before a number that is not negative.
QString SignedText(qint64 value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

} // namespace

ThreadInfo::ThreadInfo(qint64 threadId, qint64 processId, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("ThreadInfo"));
    setWindowTitle(QStringLiteral("Main Thread Information"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The labels take no focus, so the window itself receives the keys that close it.
    setFocusPolicy(Qt::StrongFocus);

    auto* labelThread = new QLabel(QStringLiteral("Current Thread ID  : ") + SignedText(threadId), this);
    labelThread->setObjectName(QStringLiteral("LabelThread"));
    auto* labelProcess =
        new QLabel(QStringLiteral("Current Process ID : ") + QString::number(processId), this);
    labelProcess->setObjectName(QStringLiteral("LabelProcess"));

    QFont mono = labelThread->font();
    mono.setFamily(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::Monospace);
    labelThread->setFont(mono);
    labelProcess->setFont(mono);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->addWidget(labelThread);
    layout->addWidget(labelProcess);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ThreadInfo::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    close();
}
