// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/windowplacement.h"

#include "shared/windowstate.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {

// The desktop draws the frame only once a window shows, so a new window is given the frame
// of the anchor, which the same desktop decorates alike.
QMargins FrameOf(const QWidget& window, const QWidget& anchor)
{
    if (window.windowFlags() & Qt::FramelessWindowHint || !anchor.isVisible())
        return {};
    const QRect inner = anchor.geometry();
    const QRect outer = anchor.frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

} // namespace

void PlaceOver(QWidget& window, const QWidget& anchor, QPoint offset)
{
    QScreen* screen = anchor.screen() ? anchor.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    window.adjustSize();
    const QMargins frame = FrameOf(window, anchor);
    QRect outer = QRect(QPoint(), window.size()).marginsAdded(frame);
    outer.moveCenter((anchor.isVisible() ? anchor.frameGeometry() : free).center() + offset);
    window.setGeometry(FitOnScreen(window.size(), outer.marginsRemoved(frame).topLeft(), frame, free));
}

void PlaceOnScreen(QWidget& window, QSize size, std::optional<QPoint> position)
{
    QScreen* screen = position ? QGuiApplication::screenAt(QRect(*position, size).center()) : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The desktop adds its frame only once the window shows: a title bar and a thin border.
    const int border = window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const QMargins frame(border, window.style()->pixelMetric(QStyle::PM_TitleBarHeight), border, border);
    window.setGeometry(FitOnScreen(size, position, frame, screen->availableGeometry()));
}
