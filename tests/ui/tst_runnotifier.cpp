// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobtable.h"
#include "ui/runnotifier.h"

#include <QTest>

Q_DECLARE_METATYPE(RunResults)

namespace {

using Told = std::pair<QString, QString>; // summary, body

// Stands in for the notification service: records each notification, and says it is not
// there when unavailable; keeps each one's way to its details, as the person would reach them.
class RecordingDesktop : public DesktopNotifications
{
public:
    RecordingDesktop(std::vector<Told>& told, bool available,
                     std::vector<std::function<void()>>* actions = nullptr,
                     std::vector<std::function<void()>>* undos = nullptr)
        : m_told(told), m_available(available), m_actions(actions), m_undos(undos)
    {
    }

    void Notify(const QString& summary, const QString& body, std::function<void()> unavailable,
                std::function<void()> details, std::function<void()> undo) override
    {
        m_told.emplace_back(summary, body);
        if (!m_available)
            unavailable();
        if (m_available && m_actions)
            m_actions->push_back(std::move(details));
        if (m_available && m_undos && undo)
            m_undos->push_back(std::move(undo));
    }

private:
    std::vector<Told>& m_told;
    const bool m_available;
    std::vector<std::function<void()>>* m_actions;
    std::vector<std::function<void()>>* m_undos;
};

} // namespace

class TestRunNotifier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void Tell_data();
    void Tell();
    void DetailsOfTheRunAskedAbout_data();
    void DetailsOfTheRunAskedAbout();
    void DetailsText_data();
    void DetailsText();
    void UndoOfTrashRuns_data();
    void UndoOfTrashRuns();
};

// Every choice against runs that deleted nothing or something, stopped or not, with the
// notification service there or not (then the balloon says the same).
void TestRunNotifier::Tell_data()
{
    QTest::addColumn<RunResults>("choice");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<bool>("service");
    QTest::addColumn<bool>("told");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("body");

    const QString stoppedBody = QStringLiteral("/data/old\nStopped before the end.");
    const RunResults every = RunResults::Every;
    const RunResults deleted = RunResults::WhenDeleted;
    const RunResults never = RunResults::Never;
    QTest::newRow("every, none") << every << 0LL << false << true << true << "Scourwell: 0 deleted (0 bytes)"
                                 << "/data/old";
    QTest::newRow("every, none, stopped")
        << every << 0LL << true << true << true << "Scourwell: 0 deleted (0 bytes)" << stoppedBody;
    QTest::newRow("every, some") << every << 12LL << false << true << true
                                 << "Scourwell: 12 deleted (18.00 KiB)"
                                 << "/data/old";
    QTest::newRow("every, some, stopped")
        << every << 78633LL << true << true << true << "Scourwell: 78633 deleted (115.19 MiB)" << stoppedBody;
    QTest::newRow("only deleted, none") << deleted << 0LL << false << true << false << ""
                                        << "";
    QTest::newRow("only deleted, none, stopped") << deleted << 0LL << true << true << false << ""
                                                 << "";
    QTest::newRow("only deleted, one")
        << deleted << 1LL << false << true << true << "Scourwell: 1 deleted (1.50 KiB)"
        << "/data/old";
    QTest::newRow("only deleted, some, stopped")
        << deleted << 12LL << true << true << true << "Scourwell: 12 deleted (18.00 KiB)" << stoppedBody;
    QTest::newRow("never, none") << never << 0LL << false << true << false << ""
                                 << "";
    QTest::newRow("never, some") << never << 12LL << false << true << false << ""
                                 << "";
    QTest::newRow("never, some, stopped") << never << 12LL << true << true << false << ""
                                          << "";
    QTest::newRow("no service: balloon")
        << deleted << 12LL << true << false << true << "Scourwell: 12 deleted (18.00 KiB)" << stoppedBody;
    QTest::newRow("no service, never: no balloon") << never << 12LL << false << false << false << ""
                                                   << "";
    QTest::newRow("no service, none deleted") << deleted << 0LL << false << false << false << ""
                                              << "";
}

void TestRunNotifier::Tell()
{
    QFETCH(RunResults, choice);
    QFETCH(qint64, count);
    QFETCH(bool, stopped);
    QFETCH(bool, service);
    QFETCH(bool, told);
    QFETCH(QString, summary);
    QFETCH(QString, body);

    JobTable table;
    table.SetRunResultsChoice(choice);
    std::vector<Told> notified;
    std::vector<Told> balloons;
    RunNotifier notifier(
        table, std::make_unique<RecordingDesktop>(notified, service),
        [&](const QString& title, const QString& text) { balloons.emplace_back(title, text); },
        [](const RunResult&) {}, [](const RunResult&) {});
    notifier.Tell({QStringLiteral("/data/old"), count, stopped, count * 1536, false, {}});

    const std::vector<Told> expected = told ? std::vector<Told>{{summary, body}} : std::vector<Told>{};
    QVERIFY(notified == expected);
    QVERIFY(balloons == (service ? std::vector<Told>{} : expected));
}

// Two runs told one after the other: the action of each notification, or a click on the
// balloon, shows the details of its own run; a click on no balloon shows nothing.
void TestRunNotifier::DetailsOfTheRunAskedAbout_data()
{
    QTest::addColumn<bool>("service");
    QTest::addColumn<int>("asked"); // which notification's action; the balloon: the last one
    QTest::addColumn<QString>("folder");

    QTest::newRow("first notification") << true << 0 << "/first";
    QTest::newRow("second notification") << true << 1 << "/second";
    QTest::newRow("balloon") << false << 1 << "/second";
}

void TestRunNotifier::DetailsOfTheRunAskedAbout()
{
    QFETCH(bool, service);
    QFETCH(int, asked);
    QFETCH(QString, folder);

    JobTable table;
    std::vector<Told> notified;
    std::vector<std::function<void()>> actions;
    std::vector<QString> shown;
    RunNotifier notifier(
        table, std::make_unique<RecordingDesktop>(notified, service, &actions),
        [](const QString&, const QString&) {},
        [&](const RunResult& result) { shown.push_back(result.folder); }, [](const RunResult&) {});
    notifier.BalloonClicked();
    QVERIFY(shown.empty());
    notifier.Tell({QStringLiteral("/first"), 3, false, 30, false, {}});
    notifier.Tell({QStringLiteral("/second"), 4, true, 40, false, {}});
    if (service) {
        QCOMPARE(actions.size(), size_t(2));
        actions[static_cast<size_t>(asked)]();
    } else {
        QVERIFY(actions.empty());
        notifier.BalloonClicked();
    }
    QCOMPARE(shown, std::vector<QString>{folder});
}

// What the details and the summary say, with the size where every size was read.
void TestRunNotifier::DetailsText_data()
{
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<bool>("trash");
    QTest::addColumn<bool>("sized");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("text");

    const QString end =
        QStringLiteral("The run went to the end.\n\nThe week log has a row for it: the Log Explorer "
                       "shows it.");
    QTest::newRow("complete") << false << false << true << "Scourwell: 12 deleted (18.00 KiB)"
                              << "Folder: /data/old\n12 deleted, 18.00 KiB freed\n" + end;
    QTest::newRow("stopped")
        << true << false << true << "Scourwell: 12 deleted (18.00 KiB)"
        << "Folder: /data/old\n12 deleted, 18.00 KiB freed\nThe run was stopped before the end; "
           "what it did not reach is still there.\n\n"
           "The week log has a row for it: the Log Explorer shows it.";
    QTest::newRow("to the trash")
        << false << true << true << "Scourwell: 12 moved to the Trash (18.00 KiB)"
        << "Folder: /data/old\n12 moved to the Trash (18.00 KiB); View > Runs can put them back\n" + end;
    QTest::newRow("folders not sized") << false << false << false << "Scourwell: 12 deleted"
                                       << "Folder: /data/old\n12 deleted\n" + end;
    QTest::newRow("folders not sized, to the trash")
        << false << true << false << "Scourwell: 12 moved to the Trash"
        << "Folder: /data/old\n12 moved to the Trash; View > Runs can put them back\n" + end;
}

void TestRunNotifier::DetailsText()
{
    QFETCH(bool, stopped);
    QFETCH(bool, trash);
    QFETCH(bool, sized);
    QFETCH(QString, summary);
    QFETCH(QString, text);
    const RunResult result{QStringLiteral("/data/old"),
                           12,
                           stopped,
                           sized ? std::optional<qint64>(12 * 1536) : std::nullopt,
                           trash,
                           {}};
    QCOMPARE(RunNotifier::Summary(result), summary);
    QCOMPARE(RunNotifier::DetailsText(result), text);
}

// A trash run that moved something and left its record offers Undo, which undoes that run;
// other runs, and the balloon, offer none.
void TestRunNotifier::UndoOfTrashRuns_data()
{
    QTest::addColumn<bool>("trash");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("record");
    QTest::addColumn<bool>("service");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<bool>("offered");

    const QString record = QStringLiteral("/p/Logs/runs/r.tsv");
    const QString moved = QStringLiteral("Scourwell: 3 moved to the Trash (4.50 KiB)");
    QTest::newRow("trash run") << true << 3LL << record << true << moved << true;
    QTest::newRow("trash run that moved nothing")
        << true << 0LL << record << true << "Scourwell: 0 moved to the Trash (0 bytes)" << false;
    QTest::newRow("trash run without a record") << true << 3LL << QString() << true << moved << false;
    QTest::newRow("deleting run") << false << 3LL << record << true << "Scourwell: 3 deleted (4.50 KiB)"
                                  << false;
    QTest::newRow("balloon") << true << 3LL << record << false << moved << false;
}

void TestRunNotifier::UndoOfTrashRuns()
{
    QFETCH(bool, trash);
    QFETCH(qint64, count);
    QFETCH(QString, record);
    QFETCH(bool, service);
    QFETCH(QString, summary);
    QFETCH(bool, offered);

    JobTable table;
    table.SetRunResultsChoice(RunResults::Every);
    std::vector<Told> notified;
    std::vector<std::function<void()>> actions;
    std::vector<std::function<void()>> undos;
    std::vector<QString> undone;
    int details = 0;
    RunNotifier notifier(
        table, std::make_unique<RecordingDesktop>(notified, service, &actions, &undos),
        [](const QString&, const QString&) {}, [&](const RunResult&) { ++details; },
        [&](const RunResult& result) { undone.push_back(result.recordFile); });
    notifier.Tell({QStringLiteral("/data/old"), count, false, count * 1536, trash, record});
    QCOMPARE(notified.size(), size_t(1));
    QCOMPARE(notified[0].first, summary);
    QCOMPARE(undos.size(), size_t(offered ? 1 : 0));
    if (offered)
        undos[0]();
    if (!service)
        notifier.BalloonClicked();
    QCOMPARE(undone, offered ? std::vector<QString>{record} : std::vector<QString>{});
    QCOMPARE(details, service ? 0 : 1);
}

QTEST_GUILESS_MAIN(TestRunNotifier)
#include "tst_runnotifier.moc"
