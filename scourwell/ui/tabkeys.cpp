// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tabkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTabWidget>

namespace {

// +1 for the next tab, -1 for the one before, 0 for any other key.
int TabStep(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const Qt::KeyboardModifiers back = Qt::ControlModifier | Qt::ShiftModifier;
    switch (event.key()) {
    case Qt::Key_Tab:
        return modifiers == Qt::ControlModifier ? 1 : modifiers == back ? -1 : 0;
    case Qt::Key_Backtab:
        return modifiers == back ? -1 : 0;
    case Qt::Key_PageDown:
        return modifiers == Qt::ControlModifier ? 1 : 0;
    case Qt::Key_PageUp:
        return modifiers == Qt::ControlModifier ? -1 : 0;
    default:
        return 0;
    }
}

} // namespace

TabKeys::TabKeys(QTabWidget& tabs) : QObject(&tabs), m_tabs(tabs)
{
    // On the application, so that the keys are seen before the focused control's own filters.
    qApp->installEventFilter(this);
}

bool TabKeys::eventFilter(QObject* watched, QEvent* event)
{
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    if (!key || !watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != m_tabs.window())
        return false;
    const int step = TabStep(*static_cast<QKeyEvent*>(event));
    const int count = m_tabs.count();
    if (step == 0 || count == 0)
        return false;
    // Claimed as an override, so that no shortcut takes it first; it then comes as a press.
    if (event->type() == QEvent::ShortcutOverride)
        event->accept();
    else
        m_tabs.setCurrentIndex((m_tabs.currentIndex() + step + count) % count);
    return true;
}
