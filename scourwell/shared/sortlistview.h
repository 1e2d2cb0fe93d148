// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <algorithm>
#include <vector>

// Column sorting shared by both programs' lists. The list control of old sorted by cell
// texts only, so numbers and dates were given key texts that order correctly; the same
// keys order the rows here.
enum class SortKind
{
    Text = 0,
    Number = 1,
    Date = 2
};

// Twenty integer digits, a point and ten decimals, zero-padded.
QString NumberKey(double value);
// Replaces each digit d by 9 - d and "-" by a blank; other characters stay.
QString InvNumber(const QString& text);
// The key a cell text sorts by: the text itself (kind Text), the number key ("&" and the
// inverted key for negatives, empty for a non-number), or a key that orders date-times
// chronologically (empty for a text that is not a date-time).
QString SortKey(const QString& text, SortKind kind);
// How two keys of a kind compare: texts without regard to case, keys as they stand.
int CompareKeys(const QString& a, const QString& b, SortKind kind);

// Sorts rows in place by the text that cellText(row) gives, keeping equal rows in their
// order. Rows move whole, so every cell keeps its text and tag.
template <class Row, class CellText>
void SortListView(std::vector<Row>& rows, SortKind kind, bool ascending, CellText cellText)
{
    std::vector<std::pair<QString, size_t>> keys;
    keys.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        keys.emplace_back(SortKey(cellText(rows[i]), kind), i);
    std::stable_sort(keys.begin(), keys.end(), [kind, ascending](const auto& a, const auto& b) {
        const int c = CompareKeys(a.first, b.first, kind);
        return ascending ? c < 0 : c > 0;
    });
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (const auto& key : keys)
        sorted.push_back(std::move(rows[key.second]));
    rows = std::move(sorted);
}
