// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

// Where each program keeps its main window's size, place, columns and sort between starts:
// files of their own in the program folder, so that ConfigDat.ini and quillon.ini stay as
// they are.
inline constexpr char ScourwellWindowsFile[] = "windows.ini";
inline constexpr char QuillonWindowsFile[] = "quillon-windows.ini";

struct ListSort
{
    // 0-based.
    int column = 0;
    bool ascending = true;
};

// A window as it was left. Every part is optional on its own: a hand-edited or broken file
// loses only the values that do not read.
struct WindowState
{
    // The client area in the normal (not maximised) state.
    std::optional<QPoint> position;
    std::optional<QSize> size;
    bool maximized = false;
    // One per column, 0 where the file gives none that reads.
    QList<int> columnWidths;
    // The width of the list that the column widths were taken at.
    std::optional<int> listWidth;
    std::optional<ListSort> sort;
};

// The state kept in section window of the file at path; a missing file gives an empty state.
WindowState LoadWindowState(const QString& path, const QString& window);
// Replaces the section's keys in one atomic write, keeping the rest of the file; false when
// it could not be written.
bool SaveWindowState(const QString& path, const QString& window, const WindowState& state);

// The client rectangle for a window of the given size whose desktop frame adds frame, on a
// screen whose free area is available: no larger than the area leaves, wholly inside it, and
// centred in it when it has no place or its place is off the area (a screen no longer there).
QRect FitOnScreen(QSize size, std::optional<QPoint> position, const QMargins& frame, const QRect& available);
