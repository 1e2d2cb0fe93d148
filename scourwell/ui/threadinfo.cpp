// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/threadinfo.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// A number written with its sign place: a blank before a number that is not negative.
QString SignedText(qint64 value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

// Room for the whole title in the title bar: the text in the bold face that title bars use,
// beside the window icon and the three buttons, each about a title bar's height wide.
int TitleWidth(const QString& title, const QStyle& style)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const int bar = style.pixelMetric(QStyle::PM_TitleBarHeight);
    return QFontMetrics(font).horizontalAdvance(title) + 5 * bar;
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
    layout->addStrut(TitleWidth(windowTitle(), *style()) - 2 * layout->contentsMargins().left());
}

void ThreadInfo::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    close();
}
