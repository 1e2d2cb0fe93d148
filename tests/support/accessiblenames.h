// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QStackedWidget>
#include <QStringList>
#include <QWidget>

namespace accessiblenames {

// Hidden on purpose (a control of one mode only): some widget between it and its window is
// hidden, and not only because it is a page another tab covers.
inline bool HiddenByDesign(const QWidget& widget, const QWidget& window)
{
    for (const QWidget* w = &widget; w && w != &window; w = w->parentWidget()) {
        if (w->isHidden() && !qobject_cast<const QStackedWidget*>(w->parentWidget()))
            return true;
    }
    return false;
}

// A widget that hands its focus on to another, such as a tab widget to its tab bar or the
// text field of a picker to the picker: the one that takes the focus is what a screen reader
// announces.
inline bool HandsFocusOn(const QWidget& widget)
{
    return widget.focusProxy() != nullptr;
}

// What a screen reader has to call the control by: its name, unless that is only its value
// (a list read as "1") with no label or name of its own behind it.
inline bool IsNamed(QWidget& widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&widget);
    if (!face)
        return false;
    const QString name = face->text(QAccessible::Name).trimmed();
    if (name.isEmpty())
        return false;
    const bool onlyValue = name == face->text(QAccessible::Value).trimmed();
    return !onlyValue || !widget.accessibleName().isEmpty() || !face->relations(QAccessible::Label).isEmpty();
}

} // namespace accessiblenames

// The controls of window that take the focus and that a screen reader could not name, as
// "objectName (class)"; the window itself counts when it takes the focus.
inline QStringList UnnamedControls(QWidget& window)
{
    using namespace accessiblenames;
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    QStringList unnamed;
    for (QWidget* w : std::as_const(widgets)) {
        if (w->window() != &window || w->focusPolicy() == Qt::NoFocus || HiddenByDesign(*w, window) ||
            HandsFocusOn(*w) || IsNamed(*w))
            continue;
        unnamed << QStringLiteral("%1 (%2)").arg(w->objectName(),
                                                 QString::fromLatin1(w->metaObject()->className()));
    }
    return unnamed;
}
