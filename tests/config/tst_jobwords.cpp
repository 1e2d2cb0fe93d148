// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobwords.h"

#include <QTest>

namespace {

enum class WordSet
{
    Status,
    ScheduleKind,
    PurgeStyle,
    DateKind,
    TimeUnit
};

// What text parses to in set, as the value's index in the set's table; -1 for none.
template <typename T> int Parsed(const QString& text)
{
    const std::optional<T> value = ParseWord<T>(text);
    return value ? static_cast<int>(*value) : -1;
}

int Parsed(WordSet set, const QString& text)
{
    switch (set) {
    case WordSet::Status:
        return Parsed<JobStatus>(text);
    case WordSet::ScheduleKind:
        return Parsed<ScheduleKind>(text);
    case WordSet::PurgeStyle:
        return Parsed<PurgeStyle>(text);
    case WordSet::DateKind:
        return Parsed<DateKind>(text);
    case WordSet::TimeUnit:
        return Parsed<TimeUnit>(text);
    }
    return -1;
}

template <typename T> QStringList SpellingsOf()
{
    QStringList spellings;
    for (const Word<T>& word : Words<T>()) {
        // Each word is listed at its value's place, and spelled the one way.
        if (static_cast<int>(word.value) != spellings.size() || Spelling(word.value) != word.spelling)
            return {};
        spellings.append(word.spelling);
    }
    return spellings;
}

} // namespace

Q_DECLARE_METATYPE(WordSet)

class TestJobWords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void spellings_data()
    {
        QTest::addColumn<QStringList>("spellings");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("status") << SpellingsOf<JobStatus>() << QStringList{"Enabled", "Disabled"};
        QTest::newRow("schedule kind") << SpellingsOf<ScheduleKind>() << QStringList{"Routine", "Specific"};
        QTest::newRow("purge style") << SpellingsOf<PurgeStyle>()
                                     << QStringList{"Files Only", "Include Files in Subfolders",
                                                    "Subfolders Only"};
        QTest::newRow("date kind") << SpellingsOf<DateKind>()
                                   << QStringList{"Date: Created", "Date: Last Modified",
                                                  "Date: Last Accessed"};
        QTest::newRow("unit") << SpellingsOf<TimeUnit>() << QStringList{"Minute", "Hour", "Day", "Month"};
    }
    void spellings()
    {
        QFETCH(QStringList, spellings);
        QFETCH(QStringList, expected);
        QCOMPARE(spellings, expected);
    }

    // Every spelling in its own case, lower and upper case; blanks and other words are none.
    void parse_data()
    {
        QTest::addColumn<WordSet>("set");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");

        const auto every = [](WordSet set, const QStringList& spellings) {
            for (int i = 0; i < spellings.size(); ++i) {
                const QString& word = spellings[i];
                QTest::addRow("%s", qPrintable(word)) << set << word << i;
                QTest::addRow("%s, lower", qPrintable(word)) << set << word.toLower() << i;
                QTest::addRow("%s, upper", qPrintable(word)) << set << word.toUpper() << i;
                QTest::addRow("%s, trailing blank", qPrintable(word)) << set << QString(word + ' ') << -1;
                QTest::addRow("%s, leading blank", qPrintable(word)) << set << QString(' ' + word) << -1;
            }
            QTest::addRow("%d, empty", int(set)) << set << QString() << -1;
            QTest::addRow("%d, blank", int(set)) << set << QString(" ") << -1;
        };
        every(WordSet::Status, {"Enabled", "Disabled"});
        every(WordSet::ScheduleKind, {"Routine", "Specific"});
        every(WordSet::PurgeStyle, {"Files Only", "Include Files in Subfolders", "Subfolders Only"});
        every(WordSet::DateKind, {"Date: Created", "Date: Last Modified", "Date: Last Accessed"});
        every(WordSet::TimeUnit, {"Minute", "Hour", "Day", "Month"});

        QTest::newRow("mixed case") << WordSet::PurgeStyle << "iNCLUDE fILES iN sUBFOLDERS" << 1;
        QTest::newRow("status Off") << WordSet::Status << "Off" << -1;
        QTest::newRow("status 0") << WordSet::Status << "0" << -1;
        QTest::newRow("status tab") << WordSet::Status << "Enabled\t" << -1;
        QTest::newRow("plural unit") << WordSet::TimeUnit << "Days" << -1;
        QTest::newRow("unit Week") << WordSet::TimeUnit << "Week" << -1;
        QTest::newRow("Manual is no schedule kind") << WordSet::ScheduleKind << "Manual" << -1;
        QTest::newRow("date kind without its prefix") << WordSet::DateKind << "Last Modified" << -1;
        QTest::newRow("date kind typo") << WordSet::DateKind << "Date: Modified" << -1;
        QTest::newRow("style with one blank less") << WordSet::PurgeStyle << "FilesOnly" << -1;
        QTest::newRow("word of another set") << WordSet::TimeUnit << "Routine" << -1;
        // Lower-cased, not case-folded: the long s folds to s, but is its own lower case.
        QTest::newRow("long s") << WordSet::Status << QString::fromUtf8("Diſabled") << -1;
    }
    void parse()
    {
        QFETCH(WordSet, set);
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(Parsed(set, text), value);
    }

    // A stored word keeps its text as written; its value is read without regard to case, and
    // only the word's own spelling is exactly that word.
    void storedWord_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("routine");
        QTest::addColumn<bool>("exactlyRoutine");
        QTest::newRow("as spelled") << "Routine" << true << true;
        QTest::newRow("lower case") << "routine" << true << false;
        QTest::newRow("trailing blank") << "Routine " << false << false;
        QTest::newRow("other word") << "Specific" << false << false;
        QTest::newRow("empty") << "" << false << false;
    }
    void storedWord()
    {
        QFETCH(QString, text);
        QFETCH(bool, routine);
        QFETCH(bool, exactlyRoutine);
        const StoredWord<ScheduleKind> word(text);
        QCOMPARE(word.Text(), text);
        QCOMPARE(word.Is(ScheduleKind::Routine), routine);
        QCOMPARE(word.Value() == ScheduleKind::Routine, routine);
        QCOMPARE(word.IsExactly(ScheduleKind::Routine), exactlyRoutine);
        QCOMPARE(word == StoredWord<ScheduleKind>(ScheduleKind::Routine), exactlyRoutine);
    }

    void storedWordFromValue()
    {
        const StoredWord<TimeUnit> word = TimeUnit::Month;
        QCOMPARE(word.Text(), QStringLiteral("Month"));
        QCOMPARE(word.Value(), TimeUnit::Month);
        QVERIFY(word.IsExactly(TimeUnit::Month));
        QVERIFY(!StoredWord<TimeUnit>().Value());
    }
};

QTEST_APPLESS_MAIN(TestJobWords)
#include "tst_jobwords.moc"
