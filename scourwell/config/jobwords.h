// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <span>
#include <vector>

// The words ConfigDat.ini and the launch values store for a job, each set a table of its
// canonical spellings. A stored word is read after lower-casing (the file is hand-edited),
// or exactly where the list and the editor compare it as written.

enum class JobStatus
{
    Enabled,
    Disabled
};

enum class ScheduleKind
{
    Routine,
    Specific
};

enum class PurgeStyle
{
    FilesOnly,
    IncludeFilesInSubfolders,
    SubfoldersOnly
};

// Which date of a file or folder a purge compares with its threshold.
enum class DateKind
{
    Created,
    LastModified,
    LastAccessed
};

// Units of thresholds and recurrences.
enum class TimeUnit
{
    Minute,
    Hour,
    Day,
    Month
};

// What the check timer does with a Routine job whose next run passed without it being run
// (the machine asleep or off, the clock stepped on, a run longer than its interval). Wait has
// no word: it is stored as no key at all.
enum class MissedRun
{
    Wait,    // shown as passed until Adjust Date
    MoveOn,  // moved on as Adjust Date would
    RunOnce, // run once (enabled jobs only), then moved on
};

// Which ended runs the windowed program tells the person about. WhenDeleted has no word: it
// is stored as no key at all.
enum class RunResults
{
    Every,       // every run
    WhenDeleted, // only runs that deleted something
    Never,
};

template <typename T> struct Word
{
    T value;
    QLatin1StringView spelling;
};

// The table of a word set, in the order the dialogs offer it.
template <typename T> std::span<const Word<T>> Words();
template <> std::span<const Word<JobStatus>> Words();
template <> std::span<const Word<ScheduleKind>> Words();
template <> std::span<const Word<PurgeStyle>> Words();
template <> std::span<const Word<DateKind>> Words();
template <> std::span<const Word<TimeUnit>> Words();
template <> std::span<const Word<MissedRun>> Words();
template <> std::span<const Word<RunResults>> Words();

template <typename T> QString Spelling(T value)
{
    for (const Word<T>& word : Words<T>()) {
        if (word.value == value)
            return word.spelling;
    }
    return {};
}

// The word text names after lower-casing; nullopt for any other text, blanks included.
template <typename T> std::optional<T> ParseWord(const QString& text)
{
    // A load reads five words a job: the spellings are lower-cased once.
    static const std::vector<QString> lowered = [] {
        std::vector<QString> spellings;
        for (const Word<T>& word : Words<T>())
            spellings.push_back(QString(word.spelling).toLower());
        return spellings;
    }();
    const QString lower = text.toLower();
    const std::span<const Word<T>> words = Words<T>();
    for (size_t i = 0; i < words.size(); ++i) {
        if (lower == lowered[i])
            return words[i].value;
    }
    return std::nullopt;
}

// A word as the file holds it: the text as read (or written), shown and saved back as it is,
// and the value it names after lower-casing.
template <typename T> class StoredWord
{
public:
    StoredWord() = default;
    StoredWord(T value) : m_text(Spelling(value)), m_value(value) {}
    explicit StoredWord(QString text) : m_text(std::move(text)), m_value(ParseWord<T>(m_text)) {}

    const QString& Text() const { return m_text; }
    const std::optional<T>& Value() const { return m_value; }
    // Whether it names value in any letter case.
    bool Is(T value) const { return m_value == value; }
    // Whether it is value's spelling character for character.
    bool IsExactly(T value) const { return m_text == Spelling(value); }

    // The value follows from the text.
    bool operator==(const StoredWord& other) const { return m_text == other.m_text; }

private:
    QString m_text;
    std::optional<T> m_value;
};
