// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/runrecord.h"
#include "support/messageboxanswerer.h"
#include "support/mockclock.h"
#include "ui/runswindow.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime Start(QDate(2026, 3, 10), QTime(9, 0), Qt::OffsetFromUTC, 3600);
const qint64 Old = Start.addDays(-10).toSecsSinceEpoch();

struct Run
{
    QString folder;
    Removal removal;
    int items;
    std::optional<PurgeOutcome> end; // none: ended from outside
};

// One record per run, each an hour after the one before, from firstHour after Start, with
// made-up items.
void WriteRecords(const QString& programFolder, const std::vector<Run>& runs, int firstHour = 0)
{
    for (size_t i = 0; i < runs.size(); ++i) {
        const Run& run = runs[i];
        RunRecordWriter writer(programFolder, run.folder, QStringLiteral("Files Only"), run.removal,
                               Start.addSecs(3600 * qint64(firstHour + int(i))));
        PurgeResult result{
            .count = run.items, .files = run.items, .outcome = run.end.value_or(PurgeOutcome::Complete)};
        for (int n = 0; n < run.items; ++n) {
            const QByteArray path = QFile::encodeName(run.folder) + "/f" + QByteArray::number(n);
            ItemDecision decision;
            decision.path = path;
            decision.size = 10;
            decision.date = Old;
            writer.Add({decision, run.removal == Removal::MoveToTrash ? "/t/files/f" + QByteArray::number(n)
                                                                      : QByteArray()});
        }
        if (run.end)
            writer.Finish(result);
    }
}

QString Cell(const QTableView& list, int row, int column)
{
    return list.model()->index(row, column).data().toString();
}

QString Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<missing>");
}

void Write(const QString& path, const QByteArray& content, const QDateTime& modified = {})
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
    // Written out first: the write would set the date again.
    QVERIFY(file.flush());
    if (modified.isValid())
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

} // namespace

class TestRunsWindow : public QObject
{
    Q_OBJECT

private:
    struct Shown
    {
        std::unique_ptr<RunsWindow> window;
        QTableView* runs;
        QTableView* items;
        QPushButton* undo;
    };
    // The window on the program folder, once it has listed rows runs.
    static Shown Open(const QString& programFolder, const QString& folder, int rows)
    {
        Shown shown{std::make_unique<RunsWindow>(programFolder), nullptr, nullptr, nullptr};
        shown.window->setAttribute(Qt::WA_DeleteOnClose, false);
        shown.window->ShowRunsOf(folder);
        shown.window->show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(shown.window.get())); }();
        shown.runs = shown.window->findChild<QTableView*>(QStringLiteral("RunList"));
        shown.items = shown.window->findChild<QTableView*>(QStringLiteral("ItemList"));
        shown.undo = shown.window->findChild<QPushButton*>(QStringLiteral("CmdUndo"));
        [&] { QTRY_COMPARE(shown.runs->model()->rowCount(), rows); }();
        return shown;
    }

private Q_SLOTS:
    // Newest first, of every folder or of one; Undo only for a trash run that moved something.
    void lists_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("rows"); // started | folder | removed | end | undo

        QTest::newRow("every folder")
            << QString()
            << QStringList{"12:00|/data/a|To the Trash|Unfinished|undo",
                           "11:00|/data/a|To the Trash|Not opened|-",
                           "10:00|/data/b|To the Trash|Stopped|undo", "09:00|/data/a|Deleted|Complete|-"};
        QTest::newRow("one folder") << "/data/a"
                                    << QStringList{"12:00|/data/a|To the Trash|Unfinished|undo",
                                                   "11:00|/data/a|To the Trash|Not opened|-",
                                                   "09:00|/data/a|Deleted|Complete|-"};
        QTest::newRow("a folder with no runs") << "/data/c" << QStringList{};
    }
    void lists()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, rows);
        QTemporaryDir program;
        WriteRecords(program.path(), {{"/data/a", Removal::Delete, 2, PurgeOutcome::Complete},
                                      {"/data/b", Removal::MoveToTrash, 1, PurgeOutcome::Stopped},
                                      {"/data/a", Removal::MoveToTrash, 0, PurgeOutcome::NotOpened},
                                      {"/data/a", Removal::MoveToTrash, 3, std::nullopt}});
        const Shown shown = Open(program.path(), folder, int(rows.size()));
        QStringList listed;
        for (int row = 0; row < rows.size(); ++row) {
            shown.runs->selectRow(row);
            listed << QStringList{Cell(*shown.runs, row, RunListModel::Time).mid(11, 5),
                                  Cell(*shown.runs, row, RunListModel::Folder),
                                  Cell(*shown.runs, row, RunListModel::Removed),
                                  Cell(*shown.runs, row, RunListModel::End),
                                  shown.undo->isEnabled() ? "undo" : "-"}
                          .join(u'|');
        }
        QCOMPARE(listed, rows);
        QCOMPARE(shown.window->windowTitle(),
                 folder.isEmpty() ? QStringLiteral("Runs") : QString("Runs - " + folder));
    }

    // A double-click, Return or Open lists the run's items with where each went.
    void opensItems_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("double-click") << 0;
        QTest::newRow("Return") << 1;
        QTest::newRow("Open") << 2;
    }
    void opensItems()
    {
        QFETCH(int, how);
        QTemporaryDir program;
        WriteRecords(program.path(), {{"/data/a", Removal::MoveToTrash, 2, PurgeOutcome::Complete},
                                      {"/data/b", Removal::Delete, 1, PurgeOutcome::Complete}});
        const Shown shown = Open(program.path(), {}, 2);
        shown.runs->selectRow(1);
        const QRect cell = shown.runs->visualRect(shown.runs->model()->index(1, 0));
        switch (how) {
        case 0: {
            // As the desktop delivers one: a click, then the second press as the double-click.
            QWidget* viewport = shown.runs->viewport();
            QTest::mouseClick(viewport, Qt::LeftButton, {}, cell.center());
            QMouseEvent second(QEvent::MouseButtonDblClick, cell.center(),
                               viewport->mapToGlobal(cell.center()), Qt::LeftButton, Qt::LeftButton,
                               Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &second);
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, cell.center());
            break;
        }
        case 1:
            QTest::keyClick(shown.runs, Qt::Key_Return);
            break;
        default:
            shown.window->findChild<QPushButton*>(QStringLiteral("CmdOpen"))->click();
        }
        QTRY_COMPARE(shown.items->model()->rowCount(), 2);
        QCOMPARE(Cell(*shown.items, 1, RunItemsModel::Path), "/data/a/f1");
        QCOMPARE(Cell(*shown.items, 1, RunItemsModel::Kind), "File");
        QCOMPARE(Cell(*shown.items, 1, RunItemsModel::InTrash), "/t/files/f1");
        QCOMPARE(Cell(*shown.items, 1, RunItemsModel::Undo), QString());
    }

    // Undo Run on a real trash run, from its button or from the run's notification: after a
    // window-modal question the files are back, but one whose place is taken; No leaves all.
    void undoes_data()
    {
        QTest::addColumn<bool>("fromNotification");
        QTest::addColumn<bool>("placeTaken");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("summary");

        QTest::newRow("Undo Run") << false << false << true << "3 of 3 items put back.";
        QTest::newRow("from the notification") << true << false << true << "3 of 3 items put back.";
        QTest::newRow("a place taken")
            << false << true << true << "2 of 3 items put back; 1 not, each with its reason in the list.";
        QTest::newRow("answered No") << false << false << false << QString();
    }
    void undoes()
    {
        QFETCH(bool, fromNotification);
        QFETCH(bool, placeTaken);
        QFETCH(bool, yes);
        QFETCH(QString, summary);

        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("data"));
        const QString job = dir.filePath(QStringLiteral("job"));
        const QString program = dir.filePath(QStringLiteral("program"));
        for (const QString& folder : {data, job, program})
            QVERIFY(QDir().mkpath(folder));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        const QStringList names{"a", "b", "c"};
        for (const QString& name : names)
            Write(job + u'/' + name, name.toUtf8(), Start.addDays(-10));
        PurgeRequest request = PurgeRequestOf(PurgeStyle::FilesOnly, job, QStringLiteral("1"),
                                              QStringLiteral("Day"), QStringLiteral("Date: Last Modified"))
                                   .value();
        request.removal = Removal::MoveToTrash;
        const MockClock clock(Start);
        const std::atomic_bool stop = false;
        RunRecordWriter writer(program, job, QStringLiteral("Files Only"), request.removal, Start);
        writer.Finish(RunSchedule(request, clock, stop, {}, {}, {},
                                  [&](const RemovedItem& item) { writer.Add(item); }));
        // A newer run, so that the one undone is not simply the first.
        WriteRecords(program, {{"/data/other", Removal::MoveToTrash, 1, PurgeOutcome::Complete}}, 1);
        QVERIFY(QDir(job).isEmpty());
        if (placeTaken)
            Write(job + QStringLiteral("/b"), "new b");

        const Shown shown = Open(program, {}, 2);
        MessageBoxAnswerer answerer(yes ? QMessageBox::Yes : QMessageBox::No);
        if (fromNotification) {
            shown.window->UndoRunOf(writer.File());
        } else {
            shown.runs->selectRow(1);
            QVERIFY(shown.undo->isEnabled());
            shown.undo->click();
        }
        QTRY_COMPARE(answerer.SeenBoxes().size(), size_t(1));
        QCOMPARE(answerer.SeenBoxes()[0].modality, Qt::WindowModal);
        QCOMPARE(answerer.SeenBoxes()[0].title, "Undo Run");
        auto* summaryLabel = shown.window->findChild<QLabel*>(QStringLiteral("UndoSummary"));
        if (!yes) {
            QTest::qWait(100);
            QVERIFY(!shown.window->IsUndoing());
            QVERIFY(QDir(job).isEmpty());
            return;
        }
        QTRY_VERIFY(!shown.window->IsUndoing());
        QCOMPARE(summaryLabel->text(), summary);
        for (const QString& name : names)
            QCOMPARE(Contents(job + u'/' + name), placeTaken && name == "b" ? "new b" : name);
        QCOMPARE(shown.items->model()->rowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            const bool taken = placeTaken && Cell(*shown.items, row, RunItemsModel::Path).endsWith("/b");
            QCOMPARE(Cell(*shown.items, row, RunItemsModel::Undo),
                     taken ? "Left in the Trash: its place is taken" : "Put back");
        }
        QCOMPARE(QDir(data + QStringLiteral("/Trash/info")).count() - 2, placeTaken ? 1u : 0u);
    }
};

QTEST_MAIN(TestRunsWindow)
#include "tst_runswindow.moc"
