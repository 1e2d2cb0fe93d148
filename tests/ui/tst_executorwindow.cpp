// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobtable.h"
#include "config/runtime.h"
#include "purge/logmod.h"
#include "purge/purgerun.h"
#include "purge/scourwellthread.h"
#include "purge/stringhandling.h"
#include "purge/threadid.h"
#include "schedule/jobhost.h"
#include "shared/clock.h"
#include "support/gateclock.h"
#include "support/jobsfile.h"
#include "support/messageboxanswerer.h"
#include "support/mockclock.h"
#include "ui/executorwindow.h"
#include "ui/frmmain.h"
#include "ui/maincommands.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <memory>
#include <thread>

namespace {

QWidget* TopLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->isVisible())
            return w;
    }
    return nullptr;
}

QString Label(QWidget* window, const QString& name)
{
    return window->findChild<QLabel*>(name)->text();
}

QString ReadText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TstExecutorWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<GateClock> m_clock;
    std::unique_ptr<JobHost> m_host;
    std::unique_ptr<frmMain> m_main;
    QDateTime m_now;

    QString ProgramFolder() const { return m_dir->filePath(QStringLiteral("program")); }
    QString StatDump() const { return ProgramFolder() + QStringLiteral("/statdump.tmp"); }
    QString LogText() const { return ReadText(GetLogFileName(ProgramFolder(), m_now)); }

    // A folder with three files 40 days old and one new file.
    QString JobFolder()
    {
        const QString folder = m_dir->filePath(QStringLiteral("jobs"));
        QDir().mkpath(folder);
        for (const QString& name : {QStringLiteral("a.old"), QStringLiteral("b.old"), QStringLiteral("c.old"),
                                    QStringLiteral("d.new")}) {
            QFile file(folder + QLatin1Char('/') + name);
            if (!file.open(QIODevice::WriteOnly))
                return {};
            file.write("x");
            file.flush();
            if (name.endsWith(QLatin1String(".old")))
                file.setFileTime(QDateTime::currentDateTime().addDays(-40),
                                 QFileDevice::FileModificationTime);
        }
        return folder;
    }
    int FilesLeft(const QString& folder) const
    {
        return static_cast<int>(QDir(folder).entryList(QDir::Files).size());
    }
    // The main window with one job due in the present minute, or the given minutes later.
    frmMain& OpenWithDueJob(const QString& folder, const QString& fileFolderStyle, int minutesAhead = 0)
    {
        StoredJob job(folder, FullForm(m_now.addSecs(60 * minutesAhead)));
        job.fileFolderStyle = fileFolderStyle;
        return OpenWithJobs({job});
    }
    frmMain& OpenWithJobs(const std::vector<StoredJob>& jobs)
    {
        QDir().mkpath(ProgramFolder());
        // As the init window leaves it: a missing status file shows every job as running.
        ResetStatusDump(ProgramFolder());
        WriteJobsFile(ProgramFolder(), jobs);
        OpenMain().show();
        return *m_main;
    }
    frmMain& OpenMain()
    {
        m_host = std::make_unique<JobHost>(ProgramFolder(), QCoreApplication::applicationDirPath(), *m_clock);
        m_main = std::make_unique<frmMain>(*m_host, true);
        return *m_main;
    }
    // The row's icon after a tick of TimerCheckStat.
    decltype(JobRow::icon) IconAfterStatTick(int row)
    {
        m_host->TimerCheckStat_Timer();
        return m_main->Table().Row(row).icon;
    }
    QAction* RunNowOn(int row)
    {
        m_main->List()->setCurrentIndex(m_main->List()->model()->index(row, 0));
        return m_main->findChild<QAction*>(QStringLiteral("mnuRunNow"));
    }
    static int OpenExecutors()
    {
        int open = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            open += w->isVisible() && w->windowTitle() == QLatin1String("Scourwell Executor");
        return open;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_now = CutToMinute(QDateTime::currentDateTime());
        m_clock = std::make_unique<GateClock>(m_now);
    }
    // The gate opens before the host goes, which waits for its runs.
    void cleanup()
    {
        m_clock->Open();
        m_main.reset();
        m_host.reset();
        m_clock.reset();
        m_dir.reset();
    }

    // The check timer launches the due job: its window opens labelled, the row shows the
    // running icon while the run goes on, and the window closes itself when it ends.
    void dueJobRunsInItsWindow()
    {
        const QString folder = JobFolder();
        frmMain& main = OpenWithDueJob(folder, QStringLiteral("Files Only"));

        main.Host().TimerCheckJob_Timer();
        QPointer<QWidget> window = TopLevel(QStringLiteral("frmJobFiles"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Scourwell Executor"));
        const QStringList values{folder,
                                 QStringLiteral("Enabled"),
                                 QStringLiteral("30"),
                                 QStringLiteral("Day"),
                                 QStringLiteral("Routine"),
                                 QStringLiteral("Files Only"),
                                 QStringLiteral("1"),
                                 QStringLiteral("Hour"),
                                 FullForm(m_now),
                                 QStringLiteral("Date: Last Modified")};
        for (int i = 0; i < 10; ++i)
            QCOMPARE(Label(window, QStringLiteral("Label%1").arg(i + 1)), values[i]);
        const QString thread = Label(window, QStringLiteral("Thread"));
        QVERIFY(QRegularExpression(QStringLiteral("^New Thread Id:\\d+$")).match(thread).hasMatch());
        QVERIFY(thread != QStringLiteral("New Thread Id:") + QString::number(CurrentThreadNumber()));
        QCOMPARE(Label(window, QStringLiteral("Process")),
                 QStringLiteral("Current Process ID:") + QString::number(QCoreApplication::applicationPid()));
        QCOMPARE(window->findChild<QPushButton*>(QStringLiteral("CmdStop"))->text(), QStringLiteral("Stop"));

        QCOMPARE(main.Table().Row(0).icon, RowIcon::Running);
        QCOMPARE(IconAfterStatTick(0), RowIcon::Running);
        // Activating the window again starts nothing more.
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(window, &activate);
        QCOMPARE(main.Executors().RunningCount(), 1);

        m_clock->Open();
        QTRY_VERIFY_WITH_TIMEOUT(!window, 5000);
        QCOMPARE(FilesLeft(folder), 1);
        QCOMPARE(LogText().count(folder), 1);
        QTRY_COMPARE(IconAfterStatTick(0), RowIcon::Enabled);
    }

    // The status timer writes a deleted status file anew, so the job still runs: the tick
    // that finds it gone shows the job running, the next gives its icon back.
    void deletedStatusFileStillLetsTheJobRun()
    {
        const QString folder = JobFolder();
        frmMain& main = OpenWithDueJob(folder, QStringLiteral("Files Only"));
        QVERIFY(QFile::remove(StatDump()));
        QCOMPARE(IconAfterStatTick(0), RowIcon::Running);
        QCOMPARE(ReadText(StatDump()), QString(QChar(0)) + QStringLiteral("\r\n"));
        main.Host().TimerCheckJob_Timer();
        QVERIFY(!TopLevel(QStringLiteral("frmJobFiles")));
        QCOMPARE(IconAfterStatTick(0), RowIcon::Enabled);
        main.Host().TimerCheckJob_Timer();
        QPointer<QWidget> window = TopLevel(QStringLiteral("frmJobFiles"));
        QVERIFY(window);
        QCOMPARE(main.Table().Row(0).icon, RowIcon::Running);
        m_clock->Open();
        QTRY_VERIFY_WITH_TIMEOUT(!window, 5000);
        QCOMPARE(FilesLeft(folder), 1);
    }

    // Stop, or the close box, stops the run before its next item; the window and the marker
    // stay until the worker has stopped and written its row.
    void stopEndsTheRun_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Stop") << false;
        QTest::newRow("close box") << true;
    }
    void stopEndsTheRun()
    {
        QFETCH(bool, closeBox);
        const QString folder = JobFolder();
        frmMain& main = OpenWithDueJob(folder, QStringLiteral("Include Files in Subfolders"));
        main.Host().TimerCheckJob_Timer();
        QPointer<QWidget> window = TopLevel(QStringLiteral("frmJobFileSubfolders"));
        const QString marker = QLatin1Char('<') + folder + QLatin1Char('>');
        QTRY_VERIFY(ReadText(StatDump()).contains(marker));

        auto* stop = window->findChild<QPushButton*>(QStringLiteral("CmdStop"));
        if (closeBox)
            window->close();
        else
            QTest::mouseClick(stop, Qt::LeftButton);
        QTest::qWait(100);
        QVERIFY(window && window->isVisible());
        QVERIFY(!stop->isEnabled());
        QVERIFY(ReadText(StatDump()).contains(marker));
        QCOMPARE(main.Executors().RunningCount(), 1);

        m_clock->Open();
        QTRY_VERIFY_WITH_TIMEOUT(!window, 5000);
        QCOMPARE(main.Executors().RunningCount(), 0);
        QCOMPARE(FilesLeft(folder), 4);
        QCOMPARE(LogText().count(folder), 1);
        QVERIFY(!ReadText(StatDump()).contains(marker));
    }

    // Stop while a subfolder is being removed: the worker stops at the next item inside it,
    // the window stays until then, and the row counts no subfolder.
    void stopDuringSubfolderRemoval()
    {
        const QString folder = m_dir->filePath(QStringLiteral("jobs"));
        const QString big = folder + QStringLiteral("/big");
        QVERIFY(QDir().mkpath(big) && QDir().mkpath(ProgramFolder()));
        constexpr int files = 100;
        for (int i = 0; i < files; ++i) {
            QFile file(big + QStringLiteral("/f%1").arg(i));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(ResetStatusDump(ProgramFolder()));
        // Everything is old at this time.
        const QDateTime later = m_now.addDays(40);
        MockClock clock(later);
        const LaunchValues values{folder,
                                  QStringLiteral("Enabled"),
                                  QStringLiteral("30"),
                                  QStringLiteral("Day"),
                                  QStringLiteral("Manual"),
                                  QStringLiteral("Subfolders Only"),
                                  QStringLiteral("&nbsp"),
                                  QStringLiteral("&nbsp"),
                                  FullForm(m_now),
                                  QStringLiteral("Date: Last Modified")};
        PurgeRun run(PurgeStyle::SubfoldersOnly, values, ProgramFolder(), {}, clock);
        // The walk asks once for the subfolder, once per file while it decides that all can go,
        // then once per file it removes: the 110th holds it after eight removals.
        QSemaphore reached;
        QSemaphore resume;
        int items = 0;
        run.SetItemHook([&] {
            if (++items == files + 10) {
                reached.release();
                resume.acquire();
            }
        });
        const auto release = qScopeGuard([&] { resume.release(); });
        QPointer<QWidget> window = new ExecutorWindow(run);
        window->show();
        run.Begin();
        QVERIFY(reached.tryAcquire(1, 10000));

        // While it is held, the window shows what the run has done so far, a few times a second.
        const auto shown = [&](const char* name) {
            return window->findChild<QLabel*>(QLatin1String(name))->text();
        };
        // The subfolder is decided as a whole; a real run does not size what is in it.
        QTRY_COMPARE(shown("Examined"), QStringLiteral("1"));
        QCOMPARE(shown("Deleted"), QStringLiteral("1"));
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("Place"))->toolTip(), folder);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+:\\d\\d$")).match(shown("Elapsed")).hasMatch());

        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("CmdStop")), Qt::LeftButton);
        QVERIFY(window->isVisible());
        const QString marker = QLatin1Char('<') + folder + QLatin1Char('>');
        QVERIFY(ReadText(StatDump()).contains(marker));

        resume.release();
        QTRY_VERIFY_WITH_TIMEOUT(!window, 5000);
        QVERIFY(run.IsFinished());
        QCOMPARE(FilesLeft(big), files - 8);
        QCOMPARE(run.Count(), 0);
        QVERIFY(ReadText(GetLogFileName(ProgramFolder(), later))
                    .contains(QStringLiteral("<td>&nbsp</td>\r\n<td>0 (stopped)</td>\r\n</tr>")));
        QVERIFY(!ReadText(StatDump()).contains(marker));
    }

    // Each launcher returns with its style's window open and labelled.
    void launcherOpensTheWindowOfItsStyle_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("window");
        QTest::newRow("files") << 0 << "frmJobFiles";
        QTest::newRow("files in subfolders") << 1 << "frmJobFileSubfolders";
        QTest::newRow("subfolders") << 2 << "frmJobSubfolders";
    }
    void launcherOpensTheWindowOfItsStyle()
    {
        QFETCH(int, style);
        QFETCH(QString, window);
        QDir().mkpath(ProgramFolder());
        OpenMain();
        LaunchValues values;
        values.folder = m_dir->filePath(QStringLiteral("empty"));
        values.startedAs = QStringLiteral("Manual");
        JobLauncher& launcher = m_main->Launcher();
        if (style == 0)
            launcher.RunNowPurgeFiles(values);
        else if (style == 1)
            launcher.RunNowPurgeFileSubfolders(values);
        else
            launcher.RunNowPurgeSubfolders(values);
        QPointer<QWidget> opened = TopLevel(window);
        QVERIFY(opened);
        QCOMPARE(Label(opened, QStringLiteral("Label1")), values.folder);
        QCOMPARE(Label(opened, QStringLiteral("Label5")), QStringLiteral("Manual"));
        m_clock->Open();
        QTRY_VERIFY_WITH_TIMEOUT(!opened, 5000);
    }

    // Dialogs and questions block the main window only: a run can still be stopped.
    void stopWhileDialogOpen_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("editor") << "mnuAdd";
        QTest::newRow("options") << "mnuOption";
        QTest::newRow("delete question") << "mnuDel";
        QTest::newRow("exit question") << "mnuExit";
    }
    void stopWhileDialogOpen()
    {
        QFETCH(QString, command);
        const QString folder = JobFolder();
        frmMain& main = OpenWithDueJob(folder, QStringLiteral("Files Only"), 60);
        main.List()->setCurrentIndex(main.List()->model()->index(0, 0));
        main.findChild<QAction*>(QStringLiteral("mnuRunNow"))->trigger();
        QPointer<QWidget> window = TopLevel(QStringLiteral("frmJobFiles"));
        QVERIFY(window);
        auto* stop = window->findChild<QPushButton*>(QStringLiteral("CmdStop"));

        bool sawModal = false;
        bool stopTaken = false;
        QTimer::singleShot(50, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            sawModal = modal != nullptr;
            // Through the window system, where a modal dialog blocks the windows it covers.
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                              stop->mapTo(window, stop->rect().center()));
            // The window stays until the held run has stopped; a taken Stop greys its button.
            stopTaken = !window || !stop->isEnabled();
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        });
        main.findChild<QAction*>(command)->trigger();
        QVERIFY(sawModal);
        QVERIFY(stopTaken);

        m_clock->Open();
        QTRY_VERIFY_WITH_TIMEOUT(!window, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(main.Executors().RunningCount(), 0, 5000);
        QCOMPARE(FilesLeft(folder), 4);
    }

    // A long folder is cut in its middle, whole in the tooltip, and the window stays over
    // the main window and on the screen; the log's empty-cell mark shows as an empty field.
    // A trash run's window says where what it removed went, not that it was deleted.
    void progressSaysWhereItemsGo_data()
    {
        QTest::addColumn<bool>("trash");
        QTest::addColumn<QString>("caption");
        QTest::newRow("deleting run") << false << "Deleted:";
        QTest::newRow("trash run") << true << "To the Trash:";
    }
    void progressSaysWhereItemsGo()
    {
        QFETCH(bool, trash);
        QFETCH(QString, caption);
        QVERIFY(QDir().mkpath(ProgramFolder()));
        LaunchValues values;
        values.folder = m_dir->path();
        values.moveToTrash = trash;
        const MockClock clock(m_now);
        PurgeRun run(PurgeStyle::FilesOnly, values, ProgramFolder(), {}, clock);
        const ExecutorWindow window(run);
        QStringList captions;
        for (const QLabel* label : window.findChildren<QLabel*>())
            captions << label->text();
        QVERIFY2(captions.contains(caption), qPrintable(captions.join(QLatin1Char('|'))));
        QVERIFY(!captions.contains(trash ? QStringLiteral("Deleted:") : QStringLiteral("To the Trash:")));
    }

    void windowFitsItsValues()
    {
        QDir().mkpath(ProgramFolder());
        OpenMain();
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        LaunchValues values;
        values.folder = m_dir->filePath(QString(20, QLatin1Char('n')) + QStringLiteral("/sub").repeated(60));
        values.startedAs = QStringLiteral("Manual");
        values.recurrenceCount = LogNoValue;
        m_main->Launcher().RunNowPurgeFiles(values);
        QPointer<QWidget> window = TopLevel(QStringLiteral("frmJobFiles"));
        QVERIFY(window);

        auto* folder = window->findChild<QLabel*>(QStringLiteral("Label1"));
        QCOMPARE(folder->text(), values.folder);
        QCOMPARE(folder->toolTip(), values.folder);
        QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
        QVERIFY(m_main->frameGeometry().contains(window->frameGeometry().center()));

        auto* every = window->findChild<QLabel*>(QStringLiteral("Label7"));
        QCOMPARE(every->text(), LogNoValue);
        const QImage shown = every->grab().toImage();
        for (int x = 0; x < shown.width(); ++x) {
            for (int y = 0; y < shown.height(); ++y)
                QCOMPARE(shown.pixel(x, y), shown.pixel(0, 0));
        }
        m_clock->Open();
        QTRY_VERIFY_WITH_TIMEOUT(!window, 5000);
    }

    // File > Exit stops the runs in flight and waits until each has written its row.
    void exitWaitsForTheRows()
    {
        const QString folder = JobFolder();
        frmMain& main = OpenWithDueJob(folder, QStringLiteral("Subfolders Only"));
        main.Host().TimerCheckJob_Timer();
        QPointer<QWidget> window = TopLevel(QStringLiteral("frmJobSubfolders"));
        QVERIFY(window);

        // The exit blocks on the run, which the gate holds until a moment later.
        std::thread opener([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            m_clock->Open();
        });
        MessageBoxAnswerer answers(QMessageBox::Yes);
        main.findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
        opener.join();
        QCOMPARE(main.Executors().RunningCount(), 0);
        QCOMPARE(LogText().count(folder), 1);
        QTRY_VERIFY(!window);
    }

    // Stop ends the only run on the folder: the status tick gives the row its own icon back
    // and Run Now is offered again.
    void stoppedRunGivesTheRowItsIconBack()
    {
        const QString folder = JobFolder();
        StoredJob job(folder, FullForm(m_now.addSecs(3600)), QStringLiteral("Disabled"));
        frmMain& main = OpenWithJobs({job});
        MessageBoxAnswerer answers(QMessageBox::Yes);
        QAction* runNow = RunNowOn(0);
        runNow->trigger();
        QCOMPARE(main.Table().Row(0).icon, RowIcon::Running);
        QPointer<QWidget> window = TopLevel(QStringLiteral("frmJobFiles"));
        QVERIFY(window);

        window->findChild<QPushButton*>(QStringLiteral("CmdStop"))->click();
        m_clock->Open();
        QTRY_VERIFY_WITH_TIMEOUT(!window, 5000);
        QTRY_COMPARE(IconAfterStatTick(0), RowIcon::Disabled);
        QVERIFY(runNow->isEnabled());
    }

    // Run Now shows the running icon at once, which turns Run Now off. A job on the folder of
    // a run under way (the same job again, or another) is never launched: Run Now reached all
    // the same opens nothing and says why, and the check timer launches nothing.
    void oneRunPerFolder_data()
    {
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("byTimer");
        QTest::newRow("same job, run now") << 0 << QString() << false;
        QTest::newRow("same folder, run now") << 1 << QString() << false;
        QTest::newRow("trailing slash, run now") << 1 << QStringLiteral("/") << false;
        QTest::newRow("trailing slash, check timer") << 1 << QStringLiteral("/") << true;
    }
    void oneRunPerFolder()
    {
        QFETCH(int, second);
        QFETCH(QString, suffix);
        QFETCH(bool, byTimer);
        const QString folder = JobFolder();
        frmMain& main = OpenWithJobs(
            {StoredJob(folder, FullForm(m_now.addSecs(3600))), StoredJob(folder + suffix, FullForm(m_now))});
        main.Host().findChild<QTimer*>(QStringLiteral("TimerCheckJob"))->stop();
        QAction* runNow = RunNowOn(0);
        runNow->trigger();
        QCOMPARE(main.Table().Row(0).icon, RowIcon::Running);
        QCOMPARE(main.Table().Row(0).savedIcon, RowIcon::Enabled);
        QVERIFY(!runNow->isEnabled());
        // The same folder text shows as running too; another spelling of it does not.
        QCOMPARE(main.Table().Row(1).icon == RowIcon::Running, suffix.isEmpty());

        MessageBoxAnswerer answers(QMessageBox::Ok);
        if (byTimer) {
            main.Host().TimerCheckJob_Timer();
        } else {
            RunNowOn(second);
            main.findChild<MainCommands*>()->RunNow();
        }
        QCOMPARE(OpenExecutors(), 1);
        QCOMPARE(main.Executors().RunningCount(), 1);
        QCOMPARE(answers.SeenBoxes().size(), size_t(byTimer ? 0 : 1));
        if (!byTimer) {
            const auto& box = answers.SeenBoxes()[0];
            QCOMPARE(box.title, QStringLiteral("Error"));
            QCOMPARE(box.icon, QMessageBox::Critical);
            QCOMPARE(box.buttons, QMessageBox::Ok);
            QCOMPARE(box.modality, Qt::WindowModal);
            QVERIFY(box.text.contains(main.Table().Row(second).FolderLoc));
        }

        m_clock->Open();
        QTRY_COMPARE_WITH_TIMEOUT(main.Executors().RunningCount(), 0, 5000);
        QCOMPARE(FilesLeft(folder), 1);
        QCOMPARE(LogText().count(QStringLiteral("<tr>")), 1);
    }

    // The exit question counts the runs that it would stop.
    void exitCountsTheRuns_data()
    {
        QTest::addColumn<int>("runs");
        QTest::addColumn<QString>("line");
        QTest::newRow("one") << 1 << QStringLiteral("\r\n1 run under way will be stopped.");
        QTest::newRow("two") << 2 << QStringLiteral("\r\n2 runs under way will be stopped.");
    }
    void exitCountsTheRuns()
    {
        QFETCH(int, runs);
        QFETCH(QString, line);
        frmMain& main = OpenWithJobs({});
        for (int i = 0; i < runs; ++i) {
            LaunchValues values;
            values.folder = m_dir->filePath(QStringLiteral("empty%1").arg(i));
            values.startedAs = QStringLiteral("Manual");
            main.Launcher().RunNowPurgeFiles(values);
        }
        MessageBoxAnswerer answers(QMessageBox::No);
        main.findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
        QCOMPARE(answers.SeenBoxes().size(), size_t(1));
        QCOMPARE(answers.SeenBoxes()[0].text, QStringLiteral("Do you want to close this program?") + line);
        QCOMPARE(answers.SeenBoxes()[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(main.Executors().RunningCount(), runs);
        m_clock->Open();
        QTRY_COMPARE_WITH_TIMEOUT(main.Executors().RunningCount(), 0, 5000);
    }
};

QTEST_MAIN(TstExecutorWindow)
#include "tst_executorwindow.moc"
