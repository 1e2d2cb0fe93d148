// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QSize>
#include <optional>

class QWidget;

// Puts a window that is about to show centred over anchor (over anchor's screen when anchor
// is hidden), moved by offset, and wholly inside the screen's free area, frame included (made
// smaller where the screen is smaller).
void PlaceOver(QWidget& window, const QWidget& anchor, QPoint offset = {});

// Gives a window that is about to show its size and place: on the screen its place is on (the
// primary screen when it has none, or its screen is gone), wholly inside that screen's free
// area with the frame the desktop will add, centred where it has no place.
void PlaceOnScreen(QWidget& window, QSize size, std::optional<QPoint> position);
