// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobtable.h"
#include "schedule/jobhost.h"
#include "support/inifiles.h"
#include "support/jobsfile.h"
#include "support/messageboxanswerer.h"
#include "support/mockclock.h"
#include "ui/frmmain.h"
#include "ui/frmsplash.h"
#include "ui/guistart.h"
#include "ui/trayicon.h"

#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

const QDateTime Now(QDate(2026, 6, 15), QTime(9, 0));

int VisibleWindows(const QString& name)
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += w->objectName() == name && w->isVisible();
    return count;
}

} // namespace

class TstGuiStart : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    MockClock m_clock{Now};
    std::unique_ptr<JobHost> m_host;

    StartOptions Options(const QString& commandLine = {}, bool trayAvailable = true) const
    {
        return {commandLine, trayAvailable};
    }
    std::unique_ptr<JobHost> NewHost() const
    {
        return std::make_unique<JobHost>(m_dir->path(), QCoreApplication::applicationDirPath(), m_clock);
    }
    // Splash clicked away, init window's timer run at once: the main window is up.
    static frmMain* ToMainWindow(GuiStart& start)
    {
        QTest::mouseClick(start.Splash()->findChild<QLabel*>(QStringLiteral("Label1")), Qt::LeftButton);
        if (!start.Init())
            return nullptr;
        start.Init()->Timer1()->setInterval(0);
        if (!QTest::qWaitFor([&] { return start.Init()->MainWindow() != nullptr; }, 3000))
            return nullptr;
        return start.Init()->MainWindow();
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_host = NewHost();
    }
    void cleanup()
    {
        m_host.reset();
        m_dir.reset();
    }

    // Splash for 2000 ms, then the init window prepares the folder and shows the jobs.
    void startsUpToTheJobList()
    {
        const QString folder = m_dir->filePath(QStringLiteral("jobs"));
        QDir().mkpath(folder);
        WriteJobsFile(m_dir->path(),
                      {{folder, QStringLiteral("12/25/2026 10:30 PM")},
                       {folder, QStringLiteral("01/01/2026 10:00 AM"), QStringLiteral("Disabled")}});
        QFile dump(m_dir->filePath(QStringLiteral("statdump.tmp")));
        QVERIFY(dump.open(QIODevice::WriteOnly));
        dump.write("<left over>\r\n");
        dump.close();

        GuiStart start(Options(), *m_host);
        QVERIFY(start.Begin());
        frmSplash* splash = start.Splash();
        QVERIFY(splash->isVisible());
        QCOMPARE(splash->findChild<QLabel*>(QStringLiteral("lblProductName"))->text(),
                 QStringLiteral("Orvik's Scourwell"));
        QCOMPARE(splash->findChild<QLabel*>(QStringLiteral("lblPlatform"))->text(),
                 QStringLiteral("for Linux"));
        QCOMPARE(splash->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version ") + QStringLiteral(SCOURWELL_VERSION));
        QCOMPARE(splash->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("Press any key to continue..."));
        QCOMPARE(splash->findChild<QTimer*>(QStringLiteral("Timer1"))->interval(), 2000);
        QVERIFY(!start.Init());

        // The splash's and the init window's timers are run at once; their intervals are theirs.
        splash->findChild<QTimer*>(QStringLiteral("Timer1"))->setInterval(0);
        QTRY_VERIFY_WITH_TIMEOUT(start.Init() && start.Init()->isVisible(), 4000);
        QCOMPARE(start.Init()->Timer1()->interval(), 500);
        start.Init()->Timer1()->setInterval(0);
        QVERIFY(!start.Splash());
        QCOMPARE(start.Init()->windowTitle(), QStringLiteral("Scourwell Init"));
        QCOMPARE(start.Init()->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("Loading, Please Wait..."));
        QCOMPARE(IniFiles::Read(m_dir->filePath(QStringLiteral("statdump.tmp"))), QByteArray("\0\r\n", 3));
        QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("Logs"))).isDir());

        QTRY_VERIFY_WITH_TIMEOUT(start.Init()->MainWindow() && start.Init()->MainWindow()->isVisible(), 2000);
        QVERIFY(!start.Init()->isVisible());
        frmMain* main = start.Init()->MainWindow();
        QCOMPARE(main->Table().Count(), 2);
        QCOMPARE(main->Table().Row(0).icon, RowIcon::Enabled);
        QCOMPARE(main->Table().Row(1).icon, RowIcon::DisabledPassed);
    }

    // A missing ConfigDat.ini is created with its defaults and shows an empty list.
    void startsWithoutAJobsFile()
    {
        GuiStart start(Options(), *m_host);
        QVERIFY(start.Begin());
        frmMain* main = ToMainWindow(start);
        QVERIFY(main);
        QCOMPARE(main->Table().Count(), 0);
        QCOMPARE(main->findChild<QLabel*>(QStringLiteral("Panel3"))->text(),
                 QStringLiteral("Date: Last Modified"));
        QVERIFY(IniFiles::Read(m_dir->filePath(QStringLiteral("ConfigDat.ini"))).contains("TotalJob=0\r\n"));
    }

    void systray_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<bool>("trayAvailable");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("minimised");

        QTest::newRow("no switch") << "" << true << true << false;
        QTest::newRow("capitals") << "/SYSTRAY" << true << false << true;
        QTest::newRow("with a further argument") << "/systray now" << true << true << false;
        QTest::newRow("other argument") << "/tray" << true << true << false;
        QTest::newRow("no tray: minimised, not hidden") << "/systray" << false << true << true;
    }
    void systray()
    {
        QFETCH(QString, commandLine);
        QFETCH(bool, trayAvailable);
        QFETCH(bool, visible);
        QFETCH(bool, minimised);

        GuiStart start(Options(commandLine, trayAvailable), *m_host);
        QVERIFY(start.Begin());
        frmMain* main = ToMainWindow(start);
        QVERIFY(main);
        QCOMPARE(main->isVisible(), visible);
        QCOMPARE(main->isMinimized(), minimised);
    }

    // A double-click on the tray icon while the start is still under way is not lost: the main
    // window shows when it comes, /systray or not.
    void trayDoubleClickDuringStart_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::newRow("/systray") << "/systray";
        QTest::newRow("no switch") << "";
    }
    void trayDoubleClickDuringStart()
    {
        QFETCH(QString, commandLine);
        GuiStart start(Options(commandLine, true), *m_host);
        QVERIFY(start.Begin());
        QTest::mouseClick(start.Splash()->findChild<QLabel*>(QStringLiteral("Label1")), Qt::LeftButton);
        QVERIFY(start.Init());
        QVERIFY(!start.Init()->MainWindow());
        auto* tray = start.Init()->findChild<TrayIcon*>();
        QVERIFY(tray);
        Q_EMIT tray->Icon().activated(QSystemTrayIcon::DoubleClick);
        frmMain* main = ToMainWindow(start);
        QVERIFY(main);
        QVERIFY(main->isVisible());
        QVERIFY(!main->isMinimized());
    }

    // A second start shows its message and creates nothing; the first goes on untouched.
    void secondInstanceEnds()
    {
        GuiStart first(Options(), *m_host);
        QVERIFY(first.Begin());
        frmMain* main = ToMainWindow(first);
        QVERIFY(main);
        main->HideToTray();
        const QByteArray config = IniFiles::Read(m_dir->filePath(QStringLiteral("ConfigDat.ini")));

        MessageBoxAnswerer answers(QMessageBox::Ok);
        const std::unique_ptr<JobHost> secondHost = NewHost();
        GuiStart second(Options(), *secondHost);
        QVERIFY(!second.Begin());
        QCOMPARE(answers.SeenBoxes().size(), size_t(1));
        const auto& box = answers.SeenBoxes()[0];
        QCOMPARE(box.title, QStringLiteral("Error Opening Scourwell"));
        QCOMPARE(box.text, QStringLiteral("Another running instance is detected! "));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(!second.Splash());
        QVERIFY(!second.Init());
        QCOMPARE(VisibleWindows(QStringLiteral("frmSplash")), 0);
        QCOMPARE(IniFiles::Read(m_dir->filePath(QStringLiteral("ConfigDat.ini"))), config);
        QVERIFY(first.Init()->MainWindow() == main);
        QVERIFY(main->Host().findChild<QTimer*>(QStringLiteral("TimerCheckJob"))->isActive());
    }

    // The lock goes with the program: a start after an exit runs.
    void exitEndsTheProgramAndFreesTheFolder()
    {
        {
            GuiStart start(Options(), *m_host);
            QVERIFY(start.Begin());
            frmMain* main = ToMainWindow(start);
            QVERIFY(main);
            QSignalSpy ended(&start, &GuiStart::ProgramEnded);
            MessageBoxAnswerer answers(QMessageBox::Yes);
            main->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
            QCOMPARE(ended.count(), 1);
            QVERIFY(!start.Init()->isVisible());
            QVERIFY(!main->isVisible());
        }
        m_host = NewHost();
        GuiStart again(Options(), *m_host);
        QVERIFY(again.Begin());
    }

    // As the About box the splash stays until a key closes it, and asks for no init window.
    void aboutViewStays()
    {
        auto* about = new frmSplash(SplashRole::AboutView);
        QPointer<frmSplash> guard(about);
        QSignalSpy init(about, &frmSplash::InitRequested);
        about->show();
        QVERIFY(!about->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
        QVERIFY(guard && about->isVisible());
        QTest::keyClick(about, Qt::Key_Shift);
        QVERIFY(guard && about->isVisible());
        QTest::keyClick(about, Qt::Key_A);
        QTRY_VERIFY(!guard);
        QCOMPARE(init.count(), 0);
    }
};

QTEST_MAIN(TstGuiStart)
#include "tst_guistart.moc"
