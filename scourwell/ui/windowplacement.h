#pragma once

#include <QPoint>

class QWidget;

// Puts a window that is about to show centred over anchor (over anchor's screen when anchor
// is hidden), moved by offset, and wholly inside the screen's free area, frame included.
void PlaceOver(QWidget& window, const QWidget& anchor, QPoint offset = {});
