// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/windowstate.h"

#include "shared/inidocument.h"

#include <QStringList>
#include <algorithm>

namespace {

// Beyond any screen: a larger value is a broken file, not a window.
constexpr int Limit = 100000;

const QStringList Keys{
    QStringLiteral("Left"),      QStringLiteral("Top"),        QStringLiteral("Width"),
    QStringLiteral("Height"),    QStringLiteral("Maximized"),  QStringLiteral("ColumnWidths"),
    QStringLiteral("ListWidth"), QStringLiteral("SortColumn"), QStringLiteral("SortAscending")};
enum KeyIndex
{
    Left,
    Top,
    Width,
    Height,
    Maximized,
    ColumnWidths,
    ListWidth,
    SortColumn,
    SortAscending
};

std::optional<int> Number(const QString& text, int least)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= least && value <= Limit ? std::optional(value) : std::nullopt;
}

std::optional<bool> Flag(const QString& text)
{
    if (text == u'1')
        return true;
    if (text == u'0')
        return false;
    return std::nullopt;
}

QString FlagText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

WindowState LoadWindowState(const QString& path, const QString& window)
{
    IniDocument doc;
    doc.Load(path);
    const QStringList values = doc.Values(window, Keys);
    WindowState state;
    const std::optional<int> left = Number(values[Left], -Limit);
    const std::optional<int> top = Number(values[Top], -Limit);
    if (left && top)
        state.position = QPoint(*left, *top);
    const std::optional<int> width = Number(values[Width], 1);
    const std::optional<int> height = Number(values[Height], 1);
    if (width && height)
        state.size = QSize(*width, *height);
    state.maximized = Flag(values[Maximized]).value_or(false);
    if (!values[ColumnWidths].isEmpty()) {
        for (const QString& part : values[ColumnWidths].split(u','))
            state.columnWidths.append(Number(part.trimmed(), 1).value_or(0));
    }
    state.listWidth = Number(values[ListWidth], 1);
    const std::optional<int> column = Number(values[SortColumn], 1);
    const std::optional<bool> ascending = Flag(values[SortAscending]);
    if (column && ascending)
        state.sort = ListSort{*column - 1, *ascending};
    return state;
}

bool SaveWindowState(const QString& path, const QString& window, const WindowState& state)
{
    IniDocument doc;
    // A file that cannot be read is left alone rather than replaced by this section only.
    if (!doc.Load(path))
        return false;
    const auto set = [&](KeyIndex key, const std::optional<QString>& value) {
        if (value)
            doc.SetValue(window, Keys[key], *value);
        else
            doc.RemoveValue(window, Keys[key]);
    };
    const auto number = [](std::optional<int> value) {
        return value ? std::optional(QString::number(*value)) : std::nullopt;
    };
    const std::optional<QPoint>& at = state.position;
    const std::optional<QSize>& size = state.size;
    set(Left, at ? number(at->x()) : std::nullopt);
    set(Top, at ? number(at->y()) : std::nullopt);
    set(Width, size ? number(size->width()) : std::nullopt);
    set(Height, size ? number(size->height()) : std::nullopt);
    set(Maximized, FlagText(state.maximized));
    QStringList widths;
    for (int width : state.columnWidths)
        widths.append(QString::number(width));
    set(ColumnWidths, widths.isEmpty() ? std::nullopt : std::optional(widths.join(u',')));
    set(ListWidth, number(state.listWidth));
    set(SortColumn, state.sort ? number(state.sort->column + 1) : std::nullopt);
    set(SortAscending, state.sort ? std::optional(FlagText(state.sort->ascending)) : std::nullopt);
    return doc.Save(path);
}

QRect FitOnScreen(QSize size, std::optional<QPoint> position, const QMargins& frame, const QRect& available)
{
    const QSize room = available.marginsRemoved(frame).size();
    QRect client(position.value_or(QPoint()), size.boundedTo(room).expandedTo(QSize(1, 1)));
    QRect outer = client.marginsAdded(frame);
    if (!position || !available.contains(outer.center()))
        outer.moveCenter(available.center());
    outer.moveRight(std::min(outer.right(), available.right()));
    outer.moveBottom(std::min(outer.bottom(), available.bottom()));
    outer.moveLeft(std::max(outer.left(), available.left()));
    outer.moveTop(std::max(outer.top(), available.top()));
    return outer.marginsRemoved(frame);
}
