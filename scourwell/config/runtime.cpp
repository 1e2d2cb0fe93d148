// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/runtime.h"

namespace {

constexpr qint64 MinutesPerDay = 24 * 60;
// The Julian day of 01/01/1970.
constexpr qint64 EpochDay = 2440588;

// Rounds towards minus infinity, so that the minutes before 1970 fall on their own day.
qint64 FloorDivide(qint64 value, qint64 divisor)
{
    const qint64 quotient = value / divisor;
    return value % divisor < 0 ? quotient - 1 : quotient;
}

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

WallClockTime::WallClockTime(const QDate& date, const QTime& time)
    : m_minutes((date.toJulianDay() - EpochDay) * MinutesPerDay + time.hour() * 60 + time.minute())
{
}

WallClockTime WallClockTime::Of(const QDateTime& t)
{
    const QDateTime cut = CutToMinute(t);
    return WallClockTime(cut.date(), cut.time());
}

QDate WallClockTime::Date() const
{
    return QDate::fromJulianDay(EpochDay + FloorDivide(m_minutes, MinutesPerDay));
}

QTime WallClockTime::Time() const
{
    const qint64 minuteOfDay = m_minutes - FloorDivide(m_minutes, MinutesPerDay) * MinutesPerDay;
    return QTime(static_cast<int>(minuteOfDay / 60), static_cast<int>(minuteOfDay % 60));
}

WallClockTime WallClockTime::AddMinutes(qint64 minutes) const
{
    return WallClockTime(m_minutes + minutes);
}

WallClockTime WallClockTime::AddDays(qint64 days) const
{
    return WallClockTime(m_minutes + days * MinutesPerDay);
}

WallClockTime WallClockTime::AddMonths(int months) const
{
    return WallClockTime(Date().addMonths(months), Time());
}

QDateTime WallClockTime::ToLocalTime() const
{
    const QDate date = Date();
    const QTime time = Time();
    const QDateTime local(date, time);
    if (local.isValid() && local.date() == date && local.time() == time)
        return local;
    // A day back, the fields name an instant before the skip: no zone changes its offset twice
    // in a day.
    const qint64 fields = m_minutes * 60;
    const int offsetBefore = QDateTime::fromSecsSinceEpoch(fields - 86400).offsetFromUtc();
    return QDateTime::fromSecsSinceEpoch(fields - offsetBefore);
}

QString FullForm(const WallClockTime& t)
{
    return DatePart(t.Date()) + QLatin1Char(' ') + TimePart(t.Time());
}

QString DateForm(const WallClockTime& t)
{
    return DatePart(t.Date());
}

QString TimeForm(const WallClockTime& t)
{
    return TimePart(t.Time());
}

QString FullForm(const QDateTime& t)
{
    if (!t.isValid())
        return {};
    return DatePart(t.date()) + QLatin1Char(' ') + TimePart(t.time());
}

std::optional<WallClockTime> ParseFullForm(const QString& text)
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
    return WallClockTime(date, QTime(hour, minute));
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
