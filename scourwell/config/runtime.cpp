#include "config/runtime.h"

namespace {

// Written by hand rather than by QDateTime::toString so that neither the locale nor the
// platform's AM/PM designators can change what is stored and compared.
void AppendNumber(QString& out, int value, int digits)
{
    out += QString::number(value).rightJustified(digits, QLatin1Char('0'));
}

QString DatePart(const QDate& d)
{
    QString out;
    out.reserve(10);
    AppendNumber(out, d.month(), 2);
    out += QLatin1Char('/');
    AppendNumber(out, d.day(), 2);
    out += QLatin1Char('/');
    AppendNumber(out, d.year(), 4);
    return out;
}

QString TimePart(const QTime& t)
{
    const int hour12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
    QString out;
    out.reserve(8);
    AppendNumber(out, hour12, 2);
    out += QLatin1Char(':');
    AppendNumber(out, t.minute(), 2);
    out += t.hour() < 12 ? QLatin1String(" AM") : QLatin1String(" PM");
    return out;
}

// The value of the digits text[from, from + count), or -1 when any of them is not a digit.
int Digits(const QString& text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace

QString FullForm(const QDateTime& t)
{
    if (!t.isValid())
        return {};
    return DatePart(t.date()) + QLatin1Char(' ') + TimePart(t.time());
}

QString DateForm(const QDateTime& t)
{
    return t.isValid() ? DatePart(t.date()) : QString();
}

QString TimeForm(const QDateTime& t)
{
    return t.isValid() ? TimePart(t.time()) : QString();
}

std::optional<QDateTime> ParseWallClock(const QString& text)
{
    // "MM/dd/yyyy hh:nn AM": every field at a fixed place.
    if (text.size() != 19 || text.at(2) != QLatin1Char('/') || text.at(5) != QLatin1Char('/') ||
        text.at(10) != QLatin1Char(' ') || text.at(13) != QLatin1Char(':') ||
        text.at(16) != QLatin1Char(' ') || text.at(18) != QLatin1Char('M'))
        return std::nullopt;
    const QChar half = text.at(17);
    if (half != QLatin1Char('A') && half != QLatin1Char('P'))
        return std::nullopt;
    const int month = Digits(text, 0, 2);
    const int day = Digits(text, 3, 2);
    const int year = Digits(text, 6, 4);
    const int hour12 = Digits(text, 11, 2);
    const int minute = Digits(text, 14, 2);
    if (month < 0 || day < 0 || year < 0 || hour12 < 1 || hour12 > 12 || minute < 0 || minute > 59)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    const int hour = hour12 % 12 + (half == QLatin1Char('P') ? 12 : 0);
    return WallClock(date, QTime(hour, minute));
}

std::optional<QDateTime> ParseFullForm(const QString& text)
{
    const std::optional<QDateTime> wall = ParseWallClock(text);
    if (!wall)
        return std::nullopt;
    return RunTime(wall->date(), wall->time());
}

QDateTime CutToMinute(const QDateTime& t)
{
    if (!t.isValid())
        return t;
    // Stepping back by the seconds keeps the same instant's offset, also in the hour that a
    // change from summer time repeats.
    const QTime time = t.time();
    return t.addMSecs(-(time.second() * 1000LL + time.msec()));
}

QDateTime RunTime(const QDate& date, const QTime& time)
{
    const QDateTime local(date, time);
    if (local.isValid() && local.date() == date && local.time() == time)
        return local;
    // Taken as UTC a day back, the fields name an instant before the skip: no zone changes
    // its offset twice in a day.
    const qint64 fields = WallClock(date, time).toSecsSinceEpoch();
    const int offsetBefore = QDateTime::fromSecsSinceEpoch(fields - 86400).offsetFromUtc();
    return QDateTime(date, time, Qt::OffsetFromUTC, offsetBefore);
}

QDateTime WallClock(const QDateTime& t)
{
    return t.isValid() ? WallClock(t.date(), t.time()) : QDateTime();
}

QDateTime WallClock(const QDate& date, const QTime& time)
{
    return QDateTime(date, time, Qt::UTC);
}

QDateTime PresentMinute(const QDateTime& now)
{
    return WallClock(CutToMinute(now));
}
