// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <compare>
#include <optional>

// A run time: a date and a time of day as the local clock shows them, to the minute, with no
// zone. Arithmetic and comparisons work on these fields alone, so no change of summer time can
// refuse, move or double a run time; an instant (a Clock's present, a file's date) becomes one
// through Of() before it is compared with one.
class WallClockTime
{
public:
    // 01/01/1970 12:00 AM.
    WallClockTime() = default;
    // Seconds are dropped; date and time must be valid.
    WallClockTime(const QDate& date, const QTime& time);
    // The minute t's clock shows at t (t's own zone: the local one for a Clock's time), seconds
    // dropped, not rounded.
    static WallClockTime Of(const QDateTime& t);

    QDate Date() const;
    QTime Time() const;

    WallClockTime AddMinutes(qint64 minutes) const;
    WallClockTime AddDays(qint64 days) const;
    // Calendar months; a day that the target month lacks becomes its last day.
    WallClockTime AddMonths(int months) const;

    // A local time at which the clock shows these fields (one of the two where it shows them
    // twice). Fields that it skips when summer time begins are read at the offset in force
    // before the skip, so they land as far past the skip as they lie within it (02:30 is 03:30).
    QDateTime ToLocalTime() const;

    friend std::strong_ordering operator<=>(const WallClockTime&, const WallClockTime&) = default;

private:
    explicit WallClockTime(qint64 minutes) : m_minutes(minutes) {}

    qint64 m_minutes = 0;
};

// Run times as text: full "MM/dd/yyyy hh:nn AM/PM", date "MM/dd/yyyy", time "hh:nn AM/PM",
// on the 12-hour clock with leading zeros, independent of the user's locale.
QString FullForm(const WallClockTime& t);
QString DateForm(const WallClockTime& t);
QString TimeForm(const WallClockTime& t);
// The full form of the minute the clock shows at the instant t (empty when t is invalid).
QString FullForm(const QDateTime& t);
// A text of the full form read back; nullopt for anything else.
std::optional<WallClockTime> ParseFullForm(const QString& text);
// Seconds (and milliseconds) dropped, not rounded, from an instant.
QDateTime CutToMinute(const QDateTime& t);
