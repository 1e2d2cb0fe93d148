#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// Run times as text: full "MM/dd/yyyy hh:nn AM/PM", date "MM/dd/yyyy", time "hh:nn AM/PM",
// on the 12-hour clock with leading zeros, independent of the user's locale.
QString FullForm(const QDateTime& t);
QString DateForm(const QDateTime& t);
QString TimeForm(const QDateTime& t);
// A text of the full form read back; nullopt for anything else.
std::optional<QDateTime> ParseFullForm(const QString& text);
// Seconds (and milliseconds) dropped, not rounded.
QDateTime CutToMinute(const QDateTime& t);
