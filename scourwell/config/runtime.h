#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// Run times are wall-clock fields: a date and a time of day as the local clock shows them.
// Schedule arithmetic and comparisons work on the fields alone (WallClock, a QDateTime in
// Qt::UTC, where adding minutes, days or months changes the fields and nothing else), so no
// change of summer time can refuse, move or double a run time; the present is turned into
// such fields once (PresentMinute) before it is compared with one.

// Run times as text: full "MM/dd/yyyy hh:nn AM/PM", date "MM/dd/yyyy", time "hh:nn AM/PM",
// on the 12-hour clock with leading zeros, independent of the user's locale. Each writes the
// date and time of day of t as they stand.
QString FullForm(const QDateTime& t);
QString DateForm(const QDateTime& t);
QString TimeForm(const QDateTime& t);
// A text of the full form read back (as RunTime); nullopt for anything else.
std::optional<QDateTime> ParseFullForm(const QString& text);
// The same as wall-clock fields, to compare and add.
std::optional<QDateTime> ParseWallClock(const QString& text);
// Seconds (and milliseconds) dropped, not rounded.
QDateTime CutToMinute(const QDateTime& t);
// A run time as a date-time whose date() and time() are the fields: the local time where the
// local clock shows them (once or twice); fields that it skips when summer time begins, which
// no local time holds, at the offset in force before the skip.
QDateTime RunTime(const QDate& date, const QTime& time);
// The wall-clock fields of t's date and time of day (for a local time, the local clock's).
QDateTime WallClock(const QDateTime& t);
QDateTime WallClock(const QDate& date, const QTime& time);
// The present (a local time, as a Clock gives it) as wall-clock fields cut to the minute.
QDateTime PresentMinute(const QDateTime& now);
