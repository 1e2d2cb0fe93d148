// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/sortlistview.h"

#include <QDate>
#include <cmath>
#include <optional>

namespace {

// Reads text[pos...] as a run of at most maxDigits digits (at least minDigits) and steps pos
// past them; nullopt when there are too few.
std::optional<int> ReadNumber(const QString& text, qsizetype& pos, int minDigits, int maxDigits)
{
    int value = 0;
    int digits = 0;
    while (pos < text.size() && digits < maxDigits && text.at(pos).isDigit() &&
           text.at(pos).unicode() < 128) {
        value = value * 10 + (text.at(pos).unicode() - '0');
        ++pos;
        ++digits;
    }
    if (digits < minDigits)
        return std::nullopt;
    return value;
}

bool ReadChar(const QString& text, qsizetype& pos, QChar c)
{
    if (pos >= text.size() || text.at(pos) != c)
        return false;
    ++pos;
    return true;
}

qsizetype SkipBlanks(const QString& text, qsizetype pos)
{
    while (pos < text.size() && text.at(pos) == QLatin1Char(' '))
        ++pos;
    return pos;
}

// "M/d/yyyy", optionally followed by blanks and "h:nn" with optional ":ss" and "AM"/"PM"
// (any blanks between): the job list's run times and the log list's modification times,
// whose date and time two blanks part. The key "yyyyMMddhhmmss" orders them as text.
QString DateKey(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype pos = 0;
    const auto month = ReadNumber(t, pos, 1, 2);
    if (!month || !ReadChar(t, pos, QLatin1Char('/')))
        return {};
    const auto day = ReadNumber(t, pos, 1, 2);
    if (!day || !ReadChar(t, pos, QLatin1Char('/')))
        return {};
    const auto year = ReadNumber(t, pos, 4, 4);
    if (!year || !QDate(*year, *month, *day).isValid())
        return {};
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (pos < t.size()) {
        pos = SkipBlanks(t, pos);
        const auto h = ReadNumber(t, pos, 1, 2);
        if (!h || !ReadChar(t, pos, QLatin1Char(':')))
            return {};
        const auto m = ReadNumber(t, pos, 2, 2);
        if (!m || *m > 59)
            return {};
        hour = *h;
        minute = *m;
        if (ReadChar(t, pos, QLatin1Char(':'))) {
            const auto s = ReadNumber(t, pos, 2, 2);
            if (!s || *s > 59)
                return {};
            second = *s;
        }
        pos = SkipBlanks(t, pos);
        const QStringView half = QStringView(t).mid(pos);
        if (half.isEmpty()) {
            if (hour > 23)
                return {};
        } else {
            const bool am = half.compare(QLatin1String("AM"), Qt::CaseInsensitive) == 0;
            const bool pm = half.compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0;
            if ((!am && !pm) || hour < 1 || hour > 12)
                return {};
            hour = hour % 12 + (pm ? 12 : 0);
        }
    }
    // Filled digit by digit: this runs once per row of every date sort.
    QString key(14, QLatin1Char('0'));
    const auto put = [&key](qsizetype at, int value, int digits) {
        for (qsizetype i = at + digits - 1; i >= at; --i, value /= 10)
            key[i] = QLatin1Char(static_cast<char>('0' + value % 10));
    };
    put(0, *year, 4);
    put(4, *month, 2);
    put(6, *day, 2);
    put(8, hour, 2);
    put(10, minute, 2);
    put(12, second, 2);
    return key;
}

// The cell text as a finite number, as the list of old read it (surrounding blanks allowed).
std::optional<double> ReadDouble(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

QString NumberKey(double value)
{
    if (value < 0)
        return QLatin1Char('-') + NumberKey(-value);
    const QString fixed = QString::number(value, 'f', 10);
    const qsizetype point = fixed.indexOf(QLatin1Char('.'));
    return QString(std::max<qsizetype>(0, 20 - point), QLatin1Char('0')) + fixed;
}

QString InvNumber(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            c = QChar(u'9' - (c.unicode() - u'0'));
        else if (c == QLatin1Char('-'))
            c = QLatin1Char(' ');
    }
    return out;
}

QString SortKey(const QString& text, SortKind kind)
{
    switch (kind) {
    case SortKind::Text:
        return text;
    case SortKind::Number: {
        const std::optional<double> value = ReadDouble(text);
        if (!value)
            return {};
        if (*value >= 0)
            return NumberKey(*value);
        return QLatin1Char('&') + InvNumber(NumberKey(-*value));
    }
    case SortKind::Date:
        return DateKey(text);
    }
    return text;
}

int CompareKeys(const QString& a, const QString& b, SortKind kind)
{
    return QString::compare(a, b, kind == SortKind::Text ? Qt::CaseInsensitive : Qt::CaseSensitive);
}
