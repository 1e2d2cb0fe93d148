#include "ui/windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

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
    QRect frame = QRect(QPoint(), window.size()).marginsAdded(FrameOf(window, anchor));
    frame.moveCenter((anchor.isVisible() ? anchor.frameGeometry() : free).center() + offset);
    // The bottom right first, so that a window larger than the screen keeps its top left.
    frame.moveRight(std::min(frame.right(), free.right()));
    frame.moveBottom(std::min(frame.bottom(), free.bottom()));
    frame.moveLeft(std::max(frame.left(), free.left()));
    frame.moveTop(std::max(frame.top(), free.top()));
    window.move(frame.topLeft());
}
