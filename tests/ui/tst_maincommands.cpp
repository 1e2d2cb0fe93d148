// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobconfig.h"
#include "config/jobtable.h"
#include "purge/logmod.h"
#include "purge/runrecord.h"
#include "shared/programfolder.h"
#include "support/inifiles.h"
#include "support/jobrows.h"
#include "support/messageboxanswerer.h"
#include "support/mockclock.h"
#include "support/pictures.h"
#include "support/recordinglauncher.h"
#include "ui/desktopstarter.h"
#include "ui/frmmain.h"
#include "ui/frmoption.h"
#include "ui/frmsplash.h"
#include "ui/maincommands.h"
#include "ui/rundetails.h"
#include "ui/threadinfo.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

namespace {

class RecordingStarter : public DesktopStarter
{
public:
    bool OpenLocalPath(const QString& path) override
    {
        opened.push_back(path);
        return opens;
    }
    bool StartDetached(const QString& program, const QStringList& arguments, const QString&) override
    {
        started.push_back(program);
        startedArguments.push_back(arguments);
        return true;
    }
    // Whether a browser takes what is opened.
    bool opens = true;
    QStringList opened;
    QStringList started;
    QList<QStringList> startedArguments;
};

const QDateTime Present = QDateTime(QDate(2026, 6, 15), QTime(9, 0, 20));

const QString NextRun = QStringLiteral("06/15/2026 10:00 AM");

JobRow MakeRow(const QString& folder, RowIcon icon, const QString& nextRun = NextRun)
{
    return RowOf({.folder = folder, .nextRun = nextRun, .status = StatusOf(icon)}, icon);
}

void WriteFile(const QString& path, const QByteArray& content, bool executable = false)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

// Closes the first modal dialog (not a message box) that opens and tells its objectName.
class DialogCloser : public QObject
{
public:
    DialogCloser()
    {
        connect(&m_timer, &QTimer::timeout, this, &DialogCloser::Poll);
        m_timer.start(10);
    }
    QString seen;

private:
    void Poll()
    {
        const auto widgets = QApplication::topLevelWidgets();
        for (QWidget* w : widgets) {
            auto* dialog = qobject_cast<QDialog*>(w);
            if (dialog && !qobject_cast<QMessageBox*>(w) && dialog->isVisible() && dialog->isModal()) {
                seen = dialog->objectName();
                dialog->reject();
            }
        }
    }
    QTimer m_timer;
};

// A main window over a fresh program folder, its commands' starters replaced by recorders.
struct Fixture
{
    explicit Fixture(bool trayAvailable = true)
        : clock(Present), host(programDir.path(), executableDir.path(), clock), main(host, trayAvailable)
    {
        commands = main.findChild<MainCommands*>();
        commands->SetDesktopStarter(starter);
        commands->SetLauncher(launcher);
        // The options a default ConfigDat.ini gives: a run needs a date kind.
        main.Table().SetOptions(QStringLiteral("Date: Last Modified"), QStringLiteral("0"));
        main.show();
    }

    JobTable& Table() { return main.Table(); }
    QString Folder() const { return programDir.path(); }
    void Select(int row) { main.List()->setCurrentIndex(main.List()->model()->index(row, 0)); }
    void ClearSelection()
    {
        main.List()->setCurrentIndex(QModelIndex());
        main.List()->selectionModel()->clear();
    }
    void Trigger(const char* name)
    {
        QAction* action = main.findChild<QAction*>(QLatin1String(name));
        QVERIFY2(action, name);
        action->trigger();
    }
    // Triggers the toolbar button with this key; false when there is none.
    bool Click(const QString& key)
    {
        const auto actions = main.findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions();
        for (QAction* action : actions) {
            if (action->objectName() == key) {
                action->trigger();
                return true;
            }
        }
        return false;
    }

    QTemporaryDir programDir;
    QTemporaryDir executableDir;
    MockClock clock;
    JobHost host;
    frmMain main;
    MainCommands* commands = nullptr;
    RecordingStarter starter;
    RecordingLauncher launcher;
};

} // namespace

class TestMainCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void RunNow_data();
    void RunNow();
    void RunNowOnEmptyTable();
    void RunNowSaysWhyARowCannotRun_data();
    void RunNowSaysWhyARowCannotRun();
    void PreviewRunsItsJob();
    void PreviewByShortcut();
    void DeleteSelected_data();
    void DeleteSelected();
    void RowCommandsWithoutSelection();
    void SwitchAll_data();
    void SwitchAll();
    void SwitchAllOnEmptyTableAsksNothing();
    void EnableDisableAdjust();
    void SaveJobs();
    void LogExplorer_data();
    void LogExplorer();
    void RunDetailsFromTheTray();
    void HelpAndBrowse();
    void HelpWhenInstalled();
    void HelpSaysWhereThePageIs_data();
    void HelpSaysWhereThePageIs();
    void OptionsUpdatePanel();
    void ThreadInfoIsShared();
    void AboutStays();
    void Toolbar_data();
    void Toolbar();
    void EditorCommands_data();
    void EditorCommands();
    void MenuImages();
    void OpensTheRunsWindow_data();
    void OpensTheRunsWindow();
};

void TestMainCommands::RunNow_data()
{
    QTest::addColumn<RowIcon>("icon");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("launched");

    QTest::newRow("enabled") << RowIcon::Enabled << int(QMessageBox::Yes) << false << true;
    QTest::newRow("disabled, yes") << RowIcon::Disabled << int(QMessageBox::Yes) << true << true;
    QTest::newRow("disabled, no") << RowIcon::Disabled << int(QMessageBox::No) << true << false;
    QTest::newRow("enabled, passed") << RowIcon::EnabledPassed << int(QMessageBox::Yes) << false << true;
    QTest::newRow("disabled, passed") << RowIcon::DisabledPassed << int(QMessageBox::Yes) << false << true;
}

void TestMainCommands::RunNow()
{
    QFETCH(RowIcon, icon);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, launched);

    Fixture f;
    f.Table().Append(MakeRow(f.Folder() + QStringLiteral("/other"), RowIcon::Enabled));
    f.Table().Append(MakeRow(f.Folder() + QStringLiteral("/job"), icon));
    f.Select(1);
    MessageBoxAnswerer answerer{QMessageBox::StandardButton(answer)};
    f.Trigger("mnuRunNow");

    QVERIFY(LogFileExists(f.Folder(), Present));
    QCOMPARE(answerer.SeenBoxes().size(), size_t(asked ? 1 : 0));
    if (asked) {
        const auto& box = answerer.SeenBoxes()[0];
        QCOMPARE(box.text, QStringLiteral(
                               "Selected job is currently being disabled.\r\nDo you want to run it anyway?"));
        QCOMPARE(box.title, QStringLiteral("Task Warning?"));
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.defaultButton, QMessageBox::Yes);
    }
    QCOMPARE(f.launcher.launches.size(), size_t(launched ? 1 : 0));
    if (launched) {
        QCOMPARE(f.launcher.launches[0].values.folder, f.Folder() + QStringLiteral("/job"));
        QCOMPARE(f.launcher.launches[0].values.startedAs, QStringLiteral("Manual"));
    }
}

void TestMainCommands::RunNowOnEmptyTable()
{
    Fixture f;
    MessageBoxAnswerer answerer(QMessageBox::Yes);
    f.Trigger("mnuRunNow");
    QVERIFY(LogFileExists(f.Folder(), Present));
    QVERIFY(f.launcher.launches.empty());
    QVERIFY(answerer.SeenBoxes().empty());
}

void TestMainCommands::RunNowSaysWhyARowCannotRun_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("field"); // Status, ValPurge, ValOfPurge
    QTest::addColumn<QString>("value");
    for (const char* command : {"mnuRunNow", "mnuPreview"}) {
        QTest::addRow("%s unit", command) << QByteArray(command) << 2 << QStringLiteral("Fortnight");
        QTest::addRow("%s threshold", command) << QByteArray(command) << 1 << QStringLiteral("-3");
        QTest::addRow("%s status", command) << QByteArray(command) << 0 << QStringLiteral("Off");
    }
}

// A hand-edited row that could not run is refused with its reason, never launched nor previewed.
void TestMainCommands::RunNowSaysWhyARowCannotRun()
{
    QFETCH(QByteArray, command);
    QFETCH(int, field);
    QFETCH(QString, value);

    Fixture f;
    StoredJob texts{.folder = f.Folder(), .nextRun = NextRun};
    QString* const fields[] = {&texts.status, &texts.valPurge, &texts.valOfPurge};
    *fields[field] = value;
    f.Table().Append(RowOf(texts));
    f.Select(0);
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    f.Trigger(command.constData());

    QVERIFY(f.launcher.launches.empty());
    QVERIFY(!f.main.findChild<QWidget*>(QStringLiteral("frmPreview")));
    QCOMPARE(answerer.SeenBoxes().size(), size_t(1));
    QCOMPARE(answerer.SeenBoxes()[0].title, QStringLiteral("Error"));
    QCOMPARE(answerer.SeenBoxes()[0].icon, QMessageBox::Critical);
    QVERIFY2(answerer.SeenBoxes()[0].text.contains(u'"' + value + u'"'),
             qPrintable(answerer.SeenBoxes()[0].text));
}

// The preview's Run Now runs the job it shows, even when another row is selected by then.
void TestMainCommands::PreviewRunsItsJob()
{
    Fixture f;
    f.Table().Append(MakeRow(f.Folder() + QStringLiteral("/other"), RowIcon::Enabled));
    f.Table().Append(MakeRow(f.Folder() + QStringLiteral("/job"), RowIcon::Enabled));
    f.Select(1);
    f.Trigger("mnuPreview");
    QPointer<QWidget> preview = f.main.findChild<QWidget*>(QStringLiteral("frmPreview"));
    QVERIFY(preview);
    QCOMPARE(preview->windowTitle(), QStringLiteral("Preview - ") + f.Folder() + QStringLiteral("/job"));
    QVERIFY(f.launcher.launches.empty());

    f.Select(0);
    preview->findChild<QPushButton*>(QStringLiteral("CmdRunNow"))->click();
    QCOMPARE(f.launcher.launches.size(), size_t(1));
    QCOMPARE(f.launcher.launches[0].values.folder, f.Folder() + QStringLiteral("/job"));
    QCOMPARE(f.launcher.launches[0].values.startedAs, QStringLiteral("Manual"));
    QTRY_VERIFY(!preview);
}

// The context menu never shows but as a pop-up; its shortcut still reaches the window.
void TestMainCommands::PreviewByShortcut()
{
    Fixture f;
    f.Table().Append(MakeRow(f.Folder() + QStringLiteral("/job"), RowIcon::Enabled));
    f.Select(0);
    f.main.show();
    QApplication::setActiveWindow(&f.main);
    QVERIFY(QTest::qWaitForWindowActive(&f.main));
    QTest::keyClick(f.main.List(), Qt::Key_P, Qt::ControlModifier);
    QTRY_VERIFY(f.main.findChild<QWidget*>(QStringLiteral("frmPreview")));
}

void TestMainCommands::DeleteSelected_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(QMessageBox::Yes);
    QTest::newRow("no") << int(QMessageBox::No);
}

void TestMainCommands::DeleteSelected()
{
    QFETCH(int, answer);
    Fixture f;
    const QString kept = f.Folder() + QStringLiteral("/kept");
    const QString doomed = f.Folder() + QStringLiteral("/a b [c]");
    const quint64 keptId = f.Table().Append(MakeRow(kept, RowIcon::Enabled));
    f.Table().Append(MakeRow(doomed, RowIcon::Disabled));
    QVERIFY(SaveJobList(f.Table(), f.Folder()));
    const QByteArray saved = IniFiles::Read(ConfigDatPath(f.Folder()));
    f.Select(1);
    QVERIFY(f.main.Panel(1)->text() != QStringLiteral(" "));

    MessageBoxAnswerer answerer{QMessageBox::StandardButton(answer)};
    f.Trigger("mnuDel");

    QCOMPARE(answerer.SeenBoxes().size(), size_t(1));
    const auto& box = answerer.SeenBoxes()[0];
    QCOMPARE(box.text, QStringLiteral("Do you want to delete  [") + doomed + QStringLiteral("]?"));
    QCOMPARE(box.title, QStringLiteral("Delete Selected Job?"));
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.defaultButton, QMessageBox::Yes);

    if (answer == QMessageBox::Yes) {
        QCOMPARE(f.Table().Count(), 1);
        QCOMPARE(f.Table().Row(0).id, keptId);
        QCOMPARE(f.main.Panel(1)->text(), QStringLiteral(" "));
        QCOMPARE(f.main.Panel(2)->text(), QStringLiteral(" "));
    } else {
        QCOMPARE(f.Table().Count(), 2);
    }
    QCOMPARE(IniFiles::Read(ConfigDatPath(f.Folder())), saved);
}

void TestMainCommands::RowCommandsWithoutSelection()
{
    Fixture f;
    f.Table().Append(MakeRow(f.Folder(), RowIcon::Disabled));
    f.ClearSelection();
    const JobRow before = f.Table().Row(0);

    MessageBoxAnswerer answerer(QMessageBox::Yes);
    for (const char* name : {"mnuDel", "mnuRunNow", "mnuBrowse", "mnuEnable", "mnuDisable", "mnuAdjust"})
        f.Trigger(name);

    QVERIFY(answerer.SeenBoxes().empty());
    QCOMPARE(f.Table().Count(), 1);
    QCOMPARE(f.Table().Row(0), before);
    QVERIFY(f.launcher.launches.empty());
    QVERIFY(f.starter.opened.isEmpty());
}

void TestMainCommands::SwitchAll_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("nextRun");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("switched");

    const QDateTime january = QDateTime(QDate(2027, 1, 5), QTime(9, 0));
    const QDateTime december = QDateTime(QDate(2026, 12, 25), QTime(10, 0));
    QTest::newRow("enable, later year")
        << "Enable" << Present << "01/01/2027 12:00 AM" << int(QMessageBox::Yes) << true;
    QTest::newRow("enable, earlier year")
        << "Enable" << Present << "01/01/2000 10:00 AM" << int(QMessageBox::Yes) << false;
    QTest::newRow("enable, passed December")
        << "Enable" << january << "12/25/2026 10:00 AM" << int(QMessageBox::Yes) << false;
    QTest::newRow("enable, January after December")
        << "Enable" << december << "01/05/2027 09:00 AM" << int(QMessageBox::Yes) << true;
    QTest::newRow("enable, declined")
        << "Enable" << Present << "01/01/2027 12:00 AM" << int(QMessageBox::No) << false;
    QTest::newRow("disable, afternoon") << "Disable" << QDateTime(QDate(2026, 6, 15), QTime(11, 0))
                                        << "06/15/2026 01:00 PM" << int(QMessageBox::Yes) << true;
    QTest::newRow("disable, present minute")
        << "Disable" << Present << "06/15/2026 09:00 AM" << int(QMessageBox::Yes) << false;
    QTest::newRow("disable, passed December")
        << "Disable" << january << "12/25/2026 10:00 AM" << int(QMessageBox::Yes) << false;
}

void TestMainCommands::SwitchAll()
{
    QFETCH(QString, key);
    QFETCH(QDateTime, now);
    QFETCH(QString, nextRun);
    QFETCH(int, answer);
    QFETCH(bool, switched);

    const bool enable = key == QLatin1String("Enable");
    Fixture f;
    f.clock.Set(now);
    const RowIcon from = enable ? RowIcon::Disabled : RowIcon::Enabled;
    const RowIcon to = enable ? RowIcon::Enabled : RowIcon::Disabled;
    f.Table().Append(MakeRow(f.Folder(), from, nextRun));
    f.Table().Append(MakeRow(f.Folder(), RowIcon::EnabledPassed, QStringLiteral("01/01/2030 10:00 AM")));

    MessageBoxAnswerer answerer{QMessageBox::StandardButton(answer)};
    f.Click(key);

    QCOMPARE(answerer.SeenBoxes().size(), size_t(1));
    const auto& box = answerer.SeenBoxes()[0];
    QCOMPARE(box.text, enable ? QStringLiteral("Do you want to enable all jobs?")
                              : QStringLiteral("Do you want to disable all jobs?"));
    QCOMPARE(box.title, enable ? QStringLiteral("Enable Tasks") : QStringLiteral("Disable Tasks"));
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(box.defaultButton, QMessageBox::Yes);
    QCOMPARE(f.Table().Row(0).icon, switched ? to : from);
    QCOMPARE(f.Table().Row(1).icon, RowIcon::EnabledPassed);
}

void TestMainCommands::SwitchAllOnEmptyTableAsksNothing()
{
    Fixture f;
    MessageBoxAnswerer answerer(QMessageBox::Yes);
    f.Click(QStringLiteral("Enable"));
    f.Click(QStringLiteral("Disable"));
    QTest::qWait(50);
    QVERIFY(answerer.SeenBoxes().empty());
}

void TestMainCommands::EnableDisableAdjust()
{
    Fixture f;
    f.Table().Append(MakeRow(f.Folder(), RowIcon::Disabled));
    f.Table().Append(MakeRow(f.Folder(), RowIcon::DisabledPassed, QStringLiteral("06/15/2026 08:30 AM")));
    f.Select(0);
    f.Trigger("mnuEnable");
    QCOMPARE(f.Table().Row(0).icon, RowIcon::Enabled);
    QCOMPARE(f.Table().Row(0).Status.Text(), QStringLiteral("Enabled"));
    f.Trigger("mnuDisable");
    QCOMPARE(f.Table().Row(0).icon, RowIcon::Disabled);
    QCOMPARE(f.Table().Row(0).Status.Text(), QStringLiteral("Disabled"));

    f.Select(1);
    f.Trigger("mnuAdjust");
    QCOMPARE(f.Table().Row(1).icon, RowIcon::Disabled);
    QCOMPARE(f.Table().Row(1).NextRun, QStringLiteral("06/15/2026 10:00 AM"));
}

void TestMainCommands::SaveJobs()
{
    Fixture f;
    f.Table().Append(MakeRow(f.Folder() + QStringLiteral("/one"), RowIcon::Enabled));
    f.Table().Append(MakeRow(f.Folder() + QStringLiteral("/two"), RowIcon::Disabled));
    MessageBoxAnswerer answerer(QMessageBox::Yes);
    f.Trigger("mnuSave");
    QTest::qWait(30);

    JobTable loaded;
    LoadJobList(loaded, f.Folder(), Present);
    QCOMPARE(loaded.Count(), 2);
    QCOMPARE(loaded.Row(1).FolderLoc, f.Folder() + QStringLiteral("/two"));
    QCOMPARE(loaded.Row(1).Status.Text(), QStringLiteral("Disabled"));
    QVERIFY(answerer.SeenBoxes().empty());
}

void TestMainCommands::LogExplorer_data()
{
    QTest::addColumn<bool>("iniExists");
    QTest::addColumn<QString>("quillonIn");

    QTest::newRow("no ini, quillon beside the files") << false << "program";
    QTest::newRow("no ini, quillon beside the executable") << false << "executable";
    QTest::newRow("existing ini, no quillon") << true << "";
    QTest::newRow("existing ini, quillon beside the files") << true << "program";
}

void TestMainCommands::LogExplorer()
{
    QFETCH(bool, iniExists);
    QFETCH(QString, quillonIn);

    Fixture f;
    const QString ini = QuillonIniPath(f.Folder());
    const QByteArray own = "[init]\r\nlock=false\r\nfolder=/elsewhere\r\n";
    if (iniExists)
        WriteFile(ini, own);
    QString quillon;
    if (!quillonIn.isEmpty()) {
        const QString folder = quillonIn == QLatin1String("program") ? f.Folder() : f.executableDir.path();
        quillon = folder + QStringLiteral("/quillon");
        WriteFile(quillon, "#!/bin/sh\n", true);
    }

    f.Trigger("mnuQuillon");

    if (iniExists)
        QCOMPARE(IniFiles::Read(ini), own);
    else
        QCOMPARE(IniFiles::Read(ini), QByteArray("[init]\nlock=true\nfolder=") + f.Folder().toUtf8() +
                                          QByteArray("/Logs\nfilter=.htm\nviewer=xdg-open\n"));
    QCOMPARE(f.starter.started, quillon.isEmpty() ? QStringList() : QStringList{quillon});
}

// A run's details asked for while the window is in the tray: the window comes back, the box
// over it blocks nothing, and its Log Explorer starts the explorer as the menu does.
void TestMainCommands::RunDetailsFromTheTray()
{
    Fixture f;
    const QString quillon = f.Folder() + QStringLiteral("/quillon");
    WriteFile(quillon, "#!/bin/sh\n", true);
    f.main.HideToTray();
    QVERIFY(!f.main.isVisible());

    QPointer<QMessageBox> box = ShowRunDetails(f.main, QStringLiteral("Folder: /data"));
    QVERIFY(f.main.isVisible());
    QVERIFY(box->isVisible());
    QCOMPARE(box->parentWidget(), &f.main);
    QCOMPARE(box->windowModality(), Qt::NonModal);
    QCOMPARE(box->text(), QStringLiteral("Folder: /data"));
    QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("CmdLogExplorer")), Qt::LeftButton);
    QCOMPARE(f.starter.started, QStringList{quillon});
    QTRY_VERIFY(!box);
}

void TestMainCommands::HelpWhenInstalled()
{
    Fixture f;
    QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/doc/scourwell")));
    const QString page = prefix.filePath(QStringLiteral("share/doc/scourwell/scourwell-help.html"));
    WriteFile(page, "<html></html>");
    MainCommands installed(f.main, prefix.filePath(QStringLiteral("bin")));
    installed.SetDesktopStarter(f.starter);
    installed.OpenHelp();
    QCOMPARE(f.starter.opened, QStringList{page});
}

void TestMainCommands::HelpAndBrowse()
{
    Fixture f;
    const QString page = f.executableDir.path() + QStringLiteral("/scourwell-help.html");
    WriteFile(page, "<html></html>");
    f.Trigger("mnuHelp");
    QCOMPARE(f.starter.opened, QStringList{page});

    const QString folder = f.Folder() + QStringLiteral("/a \"b\" & c");
    f.Table().Append(MakeRow(folder, RowIcon::Enabled));
    f.Select(0);
    f.Trigger("mnuBrowse");
    QCOMPARE(f.starter.opened, (QStringList{page, folder}));
}

// Where no browser shows the page, or there is none, F1 still says where it is or belongs.
void TestMainCommands::HelpSaysWhereThePageIs_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("browser");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("said");
    QTest::newRow("opened") << true << true << 0 << QString();
    QTest::newRow("no browser") << true << false << int(QMessageBox::Information)
                                << "No browser could open the help page. It is at:\nPAGE";
    QTest::newRow("missing") << false << true << int(QMessageBox::Warning)
                             << "The help page is missing. It belongs at:\nPAGE\nor\nDOC";
}

void TestMainCommands::HelpSaysWhereThePageIs()
{
    QFETCH(bool, installed);
    QFETCH(bool, browser);
    QFETCH(int, icon);
    QFETCH(QString, said);
    Fixture f;
    const QString page = f.executableDir.path() + QStringLiteral("/scourwell-help.html");
    if (installed)
        WriteFile(page, "<html></html>");
    f.starter.opens = browser;
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    f.Trigger("mnuHelp");
    QCOMPARE(f.starter.opened, installed ? QStringList{page} : QStringList());
    QCOMPARE(answerer.SeenBoxes().size(), said.isEmpty() ? 0u : 1u);
    if (said.isEmpty())
        return;
    const auto& box = answerer.SeenBoxes().front();
    QCOMPARE(box.title, QStringLiteral("Help"));
    QCOMPARE(int(box.icon), icon);
    const QString doc =
        QDir::cleanPath(f.executableDir.path() + "/../share/doc/scourwell/scourwell-help.html");
    QCOMPARE(box.text, QString(said).replace("PAGE", page).replace("DOC", doc));
}

void TestMainCommands::OptionsUpdatePanel()
{
    Fixture f;
    QVERIFY(f.main.Panel(3)->text() != QStringLiteral("Date: Created"));
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        const auto widgets = QApplication::topLevelWidgets();
        for (QWidget* w : widgets) {
            if (auto* dialog = qobject_cast<frmOption*>(w); dialog && dialog->isVisible()) {
                seen = dialog->isModal();
                dialog->findChild<QRadioButton*>(QStringLiteral("OptLook0"))->click();
                dialog->findChild<QPushButton*>(QStringLiteral("CmdOk"))->click();
            }
        }
    });
    f.Trigger("mnuOption");
    QVERIFY(seen);
    QCOMPARE(f.main.Panel(3)->text(), QStringLiteral("Date: Created"));
    JobTable stored;
    LoadOptions(stored, f.Folder());
    QCOMPARE(stored.LookPurgeBy().Text(), QStringLiteral("Date: Created"));
}

void TestMainCommands::ThreadInfoIsShared()
{
    Fixture f;
    f.Trigger("mnuMainThread");
    f.Trigger("mnuMainThread");
    const auto windows = f.main.findChildren<ThreadInfo*>();
    QCOMPARE(windows.size(), 1);
    QVERIFY(windows[0]->isVisible());
    QVERIFY(windows[0]->isWindow());
    // Over the main window, not in a corner of the screen.
    QVERIFY(QTest::qWaitForWindowExposed(&f.main));
    QVERIFY((windows[0]->geometry().center() - f.main.geometry().center()).manhattanLength() <= 2);
    QCOMPARE(windows[0]->findChild<QLabel*>(QStringLiteral("LabelProcess"))->text(),
             QStringLiteral("Current Process ID : ") + QString::number(QCoreApplication::applicationPid()));

    windows[0]->close();
    QTRY_VERIFY(f.main.findChildren<ThreadInfo*>().isEmpty());
    f.Trigger("mnuMainThread");
    QCOMPARE(f.main.findChildren<ThreadInfo*>().size(), 1);
}

void TestMainCommands::AboutStays()
{
    Fixture f;
    f.Trigger("mnuAbout");
    f.Trigger("mnuAbout");
    const auto splashes = f.main.findChildren<frmSplash*>();
    QCOMPARE(splashes.size(), 1);
    QCOMPARE(splashes[0]->Role(), SplashRole::AboutView);
    QVERIFY(splashes[0]->isVisible());
    QVERIFY(!splashes[0]->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
}

void TestMainCommands::Toolbar_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("trayAvailable");
    QTest::addColumn<bool>("button");
    for (const char* key : {"New", "Save", "Enable", "Disable", "Log", "Options", "Help", "Hide"})
        QTest::newRow(key) << QString::fromLatin1(key) << true << true;
    // Keys are compared exactly: these name no button.
    for (const char* key : {"hide", "Exit"})
        QTest::newRow(key) << QString::fromLatin1(key) << true << false;
    QTest::newRow("Hide without a tray") << "Hide" << false << true;
}

void TestMainCommands::Toolbar()
{
    QFETCH(QString, key);
    QFETCH(bool, trayAvailable);
    QFETCH(bool, button);

    Fixture f(trayAvailable);
    WriteFile(f.executableDir.path() + QStringLiteral("/scourwell-help.html"), "<html></html>");
    f.Table().Append(MakeRow(f.Folder(), RowIcon::Disabled));
    QVERIFY(QTest::qWaitForWindowExposed(&f.main));
    MessageBoxAnswerer answerer(QMessageBox::No);
    DialogCloser closer;
    QCOMPARE(f.Click(key), button);
    QTest::qWait(30);

    QStringList titles;
    for (const auto& box : answerer.SeenBoxes())
        titles << box.title;
    QCOMPARE(QFileInfo::exists(ConfigDatPath(f.Folder())), key == QLatin1String("Save"));
    QCOMPARE(titles, key == QLatin1String("Enable")    ? QStringList{QStringLiteral("Enable Tasks")}
                     : key == QLatin1String("Disable") ? QStringList{QStringLiteral("Disable Tasks")}
                                                       : QStringList());
    QCOMPARE(QFileInfo::exists(QuillonIniPath(f.Folder())), key == QLatin1String("Log"));
    QCOMPARE(closer.seen, key == QLatin1String("Options") ? QStringLiteral("frmOption")
                          : key == QLatin1String("New")   ? QStringLiteral("frmProps")
                                                          : QString());
    QCOMPARE(f.starter.opened.size(), key == QLatin1String("Help") ? 1 : 0);
    const bool hide = key == QLatin1String("Hide");
    QCOMPARE(f.main.isVisible(), !(hide && trayAvailable));
    QCOMPARE(bool(f.main.windowState() & Qt::WindowMinimized), hide);
}

void TestMainCommands::EditorCommands_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("opens");

    QTest::newRow("New Job") << "mnuNew" << false << true;
    QTest::newRow("Add New Job") << "mnuAdd" << false << true;
    QTest::newRow("Edit Selected Job") << "mnuEdit" << true << true;
    QTest::newRow("Edit without a selection") << "mnuEdit" << false << false;
}

void TestMainCommands::EditorCommands()
{
    QFETCH(QString, action);
    QFETCH(bool, selected);
    QFETCH(bool, opens);

    Fixture f;
    f.Table().Append(MakeRow(f.Folder(), RowIcon::Enabled));
    if (selected)
        f.Select(0);
    else
        f.ClearSelection();
    DialogCloser closer;
    f.Trigger(action.toLatin1().constData());
    QTest::qWait(30);
    QCOMPARE(closer.seen, opens ? QStringLiteral("frmProps") : QString());
    QCOMPARE(f.Table().Count(), 1);
}

void TestMainCommands::MenuImages()
{
    Fixture f;
    auto actions = [&f](const char* name) {
        return f.main.findChild<QWidget*>(QLatin1String(name))->actions();
    };
    for (const char* menuName : {"mnuFile", "mnuView"}) {
        QVERIFY(!actions(menuName).isEmpty());
        for (QAction* action : actions(menuName))
            QCOMPARE(action->icon().isNull(), action->isSeparator());
    }
    for (const char* menuName : {"mnuContext", "mnuJobOpt"}) {
        for (QAction* action : actions(menuName))
            QVERIFY2(action->icon().isNull(), qPrintable(action->objectName()));
    }
    const auto buttons = actions("Toolbar1");
    QCOMPARE(buttons.size(), 8);
    for (QAction* button : buttons)
        QVERIFY2(!button->icon().isNull(), qPrintable(button->objectName()));

    // A command shows one picture in the menu and on the toolbar, and no two commands share one.
    auto picture = [&f](const char* name) {
        return Picture(f.main.findChild<QAction*>(QLatin1String(name))->icon());
    };
    for (const auto& [item, button] : {std::pair{"mnuNew", "New"},
                                       {"mnuSave", "Save"},
                                       {"mnuOption", "Options"},
                                       {"mnuQuillon", "Log"},
                                       {"mnuHelp", "Help"}})
        QVERIFY2(picture(item) == picture(button), item);
    const std::vector<const char*> commands{"mnuNew",     "mnuSave",       "mnuOption", "mnuExit",
                                            "mnuQuillon", "mnuMainThread", "mnuHelp",   "mnuAbout",
                                            "mnuRuns",    "Enable",        "Disable",   "Hide"};
    for (size_t i = 0; i < commands.size(); ++i) {
        for (size_t j = i + 1; j < commands.size(); ++j)
            QVERIFY2(picture(commands[i]) != picture(commands[j]), commands[j]);
    }
}

// View > Runs lists every run, Runs of This Job the selected job's, and a notification's Undo
// brings the window out of the tray with the question for its run; each time one window,
// non-modal, over the main window.
void TestMainCommands::OpensTheRunsWindow_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("asked");

    QTest::newRow("View > Runs") << "mnuRuns"
                                 << "Runs" << false;
    QTest::newRow("Runs of This Job") << "mnuJobRuns"
                                      << "Runs - /data/job" << false;
    QTest::newRow("Undo from a notification") << "undo"
                                              << "Runs" << true;
}

void TestMainCommands::OpensTheRunsWindow()
{
    QFETCH(QString, how);
    QFETCH(QString, title);
    QFETCH(bool, asked);
    Fixture f;
    f.Table().Append(MakeRow(QStringLiteral("/data/other"), RowIcon::Enabled));
    f.Table().Append(MakeRow(QStringLiteral("/data/job"), RowIcon::Enabled));
    f.Select(1);
    RunRecordWriter(f.Folder(), QStringLiteral("/data/job"), QStringLiteral("Files Only"),
                    Removal::MoveToTrash, QDateTime(QDate(2026, 3, 10), QTime(9, 0)))
        .Finish({.count = 1, .files = 1, .outcome = PurgeOutcome::Complete});
    MessageBoxAnswerer answerer(QMessageBox::No);
    for (int twice = 0; twice < 2; ++twice) {
        if (how == QLatin1String("undo")) {
            f.main.HideToTray();
            Q_EMIT f.main.UndoRunAsked(ReadRunRecords(f.Folder()).at(0).file);
        } else {
            f.Trigger(qPrintable(how));
        }
    }
    const auto windows = f.main.findChildren<QWidget*>(QStringLiteral("frmRuns"));
    QCOMPARE(windows.size(), 1);
    QVERIFY(windows[0]->isVisible());
    QVERIFY(f.main.isVisible());
    QCOMPARE(windows[0]->windowModality(), Qt::NonModal);
    QCOMPARE(windows[0]->windowTitle(), title);
    QTRY_COMPARE(answerer.SeenBoxes().size(), size_t(asked ? 1 : 0));
}

QTEST_MAIN(TestMainCommands)
#include "tst_maincommands.moc"
