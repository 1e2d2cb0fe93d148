// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobtable.h"
#include "purge/stringhandling.h"
#include "shared/programfolder.h"
#include "support/inifiles.h"
#include "support/jobsfile.h"
#include "support/messageboxanswerer.h"
#include "support/mockclock.h"
#include "support/pictures.h"
#include "ui/artwork.h"
#include "ui/commandtable.h"
#include "ui/frmmain.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QTreeView>
#include <algorithm>
#include <memory>
#include <optional>

namespace {

const QDateTime Now(QDate(2026, 6, 15), QTime(9, 0));
const QString Future = QStringLiteral("12/25/2026 10:30 PM");
const QString Past = QStringLiteral("01/01/2026 10:00 AM");

struct ExpectedItem
{
    const char* name;
    const char* caption;
    const char* parent;
    const char* shortcut;
    std::optional<MainCommand> command;
};

// The menu items and toolbar buttons as the user sees them, with what each is to do.
const ExpectedItem ExpectedItems[] = {
    {"mnuNew", "  &New Job", "mnuFile", "Ctrl+N", MainCommand::AddNewJob},
    {"mnuSave", "  &Save Jobs", "mnuFile", "Ctrl+S", MainCommand::SaveJobs},
    {"mnuEnableAll", "  &Enable All Jobs", "mnuFile", "Ctrl+Shift+E", MainCommand::EnableAllJobs},
    {"mnuDisableAll", "  &Disable All Jobs", "mnuFile", "Ctrl+Shift+D", MainCommand::DisableAllJobs},
    {"mnuOption", "  &Options", "mnuFile", "Ctrl+O", MainCommand::Options},
    {"mnuHide", "  &Hide Program", "mnuFile", "Ctrl+M", MainCommand::Hide},
    {"mnuExit", "  E&xit", "mnuFile", "Ctrl+Q", MainCommand::Exit},
    {"mnuQuillon", "  &Log Explorer", "mnuView", "Ctrl+L", MainCommand::LogExplorer},
    {"mnuRuns", "  &Runs", "mnuView", "Ctrl+Shift+H", MainCommand::Runs},
    {"mnuMainThread", "  &Thread Info", "mnuView", "", MainCommand::ThreadInfo},
    {"mnuHelp", "  &Help", "mnuView", "F1", MainCommand::Help},
    {"mnuAbout", "  &About", "mnuView", "", MainCommand::About},
    {"mnuAdd", "{&A}dd New Job", "mnuContext", "", MainCommand::AddNewJob},
    {"mnuEdit", "{&E}dit Selected Job", "mnuContext", "", MainCommand::EditSelectedJob},
    {"mnuJobOpt", "Job {&P}roperties", "mnuContext", "", std::nullopt},
    {"mnuEnable", "{&E}nable Job", "mnuJobOpt", "", MainCommand::EnableJob},
    {"mnuDisable", "{&D}isable Job", "mnuJobOpt", "", MainCommand::DisableJob},
    {"mnuRunNow", "{&R}un Now", "mnuJobOpt", "", MainCommand::RunNow},
    {"mnuPreview", "{&V}iew What Would Go", "mnuJobOpt", "Ctrl+P", MainCommand::Preview},
    {"mnuJobRuns", "Runs of {&T}his Job", "mnuJobOpt", "", MainCommand::JobRuns},
    {"mnuAdjust", "{&A}djust Date", "mnuJobOpt", "", MainCommand::AdjustDate},
    {"mnuBrowse", "{&B}rowse Location", "mnuContext", "", MainCommand::BrowseLocation},
    {"mnuDel", "{&D}elete Selected", "mnuContext", "", MainCommand::DeleteSelected},
    {"New", "Add New Task", "Toolbar1", "", MainCommand::AddNewJob},
    {"Save", "Save Jobs", "Toolbar1", "", MainCommand::SaveJobs},
    {"Enable", "Enable All Jobs", "Toolbar1", "", MainCommand::EnableAllJobs},
    {"Disable", "Disable All Jobs", "Toolbar1", "", MainCommand::DisableAllJobs},
    {"Log", "Log Explorer", "Toolbar1", "", MainCommand::LogExplorer},
    {"Options", "Options", "Toolbar1", "", MainCommand::Options},
    {"Help", "Help", "Toolbar1", "", MainCommand::Help},
    {"Hide", "Hide Program", "Toolbar1", "", MainCommand::Hide},
};

} // namespace

class TstFrmMain : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    MockClock m_clock{Now};
    std::unique_ptr<JobHost> m_host;
    std::unique_ptr<frmMain> m_main;

    QString Folder(const QString& name)
    {
        const QString path = m_dir.filePath(QStringLiteral("jobs/") + name);
        QDir().mkpath(path);
        return path;
    }
    QString ProgramFolder()
    {
        const QString path = m_dir.filePath(QStringLiteral("program"));
        QDir().mkpath(path);
        return path;
    }
    frmMain& Open(const std::vector<StoredJob>& jobs, bool trayAvailable = true)
    {
        WriteJobsFile(ProgramFolder(), jobs);
        // As the init window leaves it: a missing status file shows every job as running.
        ResetStatusDump(ProgramFolder());
        m_main.reset();
        m_host = std::make_unique<JobHost>(ProgramFolder(), QCoreApplication::applicationDirPath(), m_clock);
        m_main = std::make_unique<frmMain>(*m_host, trayAvailable);
        return *m_main;
    }
    frmMain& OpenShown(const std::vector<StoredJob>& jobs)
    {
        frmMain& main = Open(jobs);
        main.show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(&main)); }();
        return main;
    }
    QString WindowsFile() { return ProgramFolder() + QStringLiteral("/windows.ini"); }
    QList<int> ColumnWidths()
    {
        QList<int> widths;
        for (int i = 0; i < JobColumnCount; ++i)
            widths.append(m_main->List()->header()->sectionSize(i));
        return widths;
    }
    QAction* Action(const char* name) { return m_main->findChild<QAction*>(QLatin1String(name)); }
    QString PanelText(int n) { return m_main->findChild<QLabel*>(QStringLiteral("Panel%1").arg(n))->text(); }
    QImage PanelPicture()
    {
        return m_main->findChild<QLabel*>(QStringLiteral("Panel1Picture"))->pixmap().toImage();
    }
    void Select(int row)
    {
        QTreeView* list = m_main->List();
        list->setCurrentIndex(list->model()->index(row, 0));
    }
    void ClickHeader(int column)
    {
        QHeaderView* header = m_main->List()->header();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    // Three jobs whose columns all order differently.
    std::vector<StoredJob> SortJobs()
    {
        StoredJob a{Folder(QStringLiteral("alpha")), QStringLiteral("01/15/2027 09:00 AM")};
        a.valPurge = QStringLiteral("10");
        a.valEvery = QStringLiteral("2");
        a.description = QStringLiteral("job a");
        StoredJob b{Folder(QStringLiteral("Bravo")), QStringLiteral("12/31/2026 11:00 PM")};
        b.valPurge = QStringLiteral("2");
        b.valOfPurge = QStringLiteral("Month");
        b.style = QStringLiteral("Specific");
        b.fileFolderStyle = QStringLiteral("Subfolders Only");
        b.valEvery.clear();
        b.valOfEvery.clear();
        b.description = QStringLiteral("job b");
        StoredJob c{Folder(QStringLiteral("charlie")), QStringLiteral("12/31/2026 08:00 AM")};
        c.valPurge = QStringLiteral("100");
        c.valOfPurge = QStringLiteral("Hour");
        c.valOfEvery = QStringLiteral("Day");
        c.status = QStringLiteral("Disabled");
        c.fileFolderStyle = QStringLiteral("Include Files in Subfolders");
        c.description = QStringLiteral("job c");
        return {a, b, c};
    }
    QString Order()
    {
        QString order;
        for (const JobRow& row : m_main->Table().Rows())
            order += row.Description.back();
        return order;
    }

private Q_SLOTS:
    void cleanup()
    {
        m_main.reset();
        m_host.reset();
        m_clock.Set(Now);
        // Each test opens the window as at a first start.
        QFile::remove(WindowsFile());
    }

    void showsTheJobsWithTheirIcons()
    {
        frmMain& main = Open({{Folder(QStringLiteral("a")), Future},
                              {Folder(QStringLiteral("b")), Future, QStringLiteral("Disabled")},
                              {Folder(QStringLiteral("c")), Past},
                              {Folder(QStringLiteral("d")), Past, QStringLiteral("DISABLED")},
                              {m_dir.filePath(QStringLiteral("gone")), Future}});
        QCOMPARE(main.objectName(), QStringLiteral("frmMain"));
        QCOMPARE(main.windowTitle(), QStringLiteral("Scourwell"));
        QAbstractItemModel* model = main.List()->model();
        QCOMPARE(model->rowCount(), 5);
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(Picture(model->index(row, 0).data(Qt::DecorationRole).value<QIcon>()),
                     Picture(Artwork::RowIcon(RowIcon(row + 1))));
            QCOMPARE(model->index(row, 0).data(Qt::ToolTipRole).toString(), main.Table().Row(row).FolderLoc);
            QCOMPARE(model->index(row, 6).data().toString(), row < 2 || row == 4 ? Future : Past);
        }
        QCOMPARE(PanelText(3), QStringLiteral("Date: Last Modified"));
        QCOMPARE(PanelPicture(), Picture(Artwork::StylePicture(StylePicture::Neutral)));
        QCOMPARE(main.PanelPicture(), StylePicture::Neutral);
    }

    // Every row icon looks different from the others at list size.
    void rowIconsAreDistinct()
    {
        for (int i = 1; i <= 6; ++i) {
            QVERIFY(!Artwork::RowIcon(RowIcon(i)).isNull());
            for (int j = i + 1; j <= 6; ++j)
                QVERIFY(Picture(Artwork::RowIcon(RowIcon(i))) != Picture(Artwork::RowIcon(RowIcon(j))));
        }
        for (int i = 1; i <= 4; ++i)
            QVERIFY(!Artwork::StylePicture(StylePicture(i)).isNull());
        QVERIFY(!Artwork::AppIcon().isNull());
    }

    void columns()
    {
        frmMain& main = Open({});
        const QStringList captions{QStringLiteral("Folder Location"), QStringLiteral("Value"),
                                   QStringLiteral("of Purge"),        QStringLiteral("Purge Style"),
                                   QStringLiteral("Value"),           QStringLiteral("on Every"),
                                   QStringLiteral("Next Run")};
        const double fractions[] = {0.3, 0.071, 0.1, 0.13, 0.071, 0.1, 0.2};
        QTreeView* list = main.List();
        QCOMPARE(list->objectName(), QStringLiteral("ListView1"));
        QCOMPARE(list->model()->columnCount(), 7);
        const double w = list->width() - 5;
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(list->model()->headerData(i, Qt::Horizontal).toString(), captions[i]);
            QVERIFY2(qAbs(list->header()->sectionSize(i) - w * fractions[i]) <= 1.0,
                     qPrintable(QString::number(i)));
            const auto align =
                list->model()->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
            QCOMPARE(bool(align & Qt::AlignHCenter), i == 1 || i == 4);
        }
        QVERIFY(!list->rootIsDecorated());
        QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    }

    void jobSummary_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("valPurge");
        QTest::addColumn<QString>("valOfPurge");
        QTest::addColumn<QString>("valEvery");
        QTest::addColumn<QString>("valOfEvery");
        QTest::addColumn<QString>("fileFolderStyle");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<int>("picture");

        QTest::newRow("routine") << "Routine"
                                 << "30"
                                 << "Day"
                                 << "1"
                                 << "Hour"
                                 << "Files Only"
                                 << "Objects more than 30 day(s) will be purged on every 1 hour(s)" << 1;
        QTest::newRow("specific") << "Specific"
                                  << "2"
                                  << "Month"
                                  << ""
                                  << ""
                                  << "Include Files in Subfolders"
                                  << "Objects more than 2 month(s) will be purged on 12/25/2026 10:30 PM"
                                  << 2;
        QTest::newRow("lower-case routine is not routine")
            << "routine"
            << "5"
            << "MINUTE"
            << "3"
            << "Day"
            << "subfolders only"
            << "Objects more than 5 minute(s) will be purged on 12/25/2026 10:30 PM" << 3;
        QTest::newRow("capital style")
            << "Routine"
            << "7"
            << "Hour"
            << "2"
            << "Month"
            << "SUBFOLDERS ONLY"
            << "Objects more than 7 hour(s) will be purged on every 2 month(s)" << 3;
        QTest::newRow("empty fields, unknown style keeps the picture")
            << "Routine"
            << ""
            << ""
            << ""
            << ""
            << "Everything"
            << "Objects more than  (s) will be purged on every  (s)" << 0;
    }
    void jobSummary()
    {
        QFETCH(QString, style);
        QFETCH(QString, valPurge);
        QFETCH(QString, valOfPurge);
        QFETCH(QString, valEvery);
        QFETCH(QString, valOfEvery);
        QFETCH(QString, fileFolderStyle);
        QFETCH(QString, summary);
        QFETCH(int, picture);

        StoredJob job{Folder(QStringLiteral("a")), Future};
        job.style = style;
        job.valPurge = valPurge;
        job.valOfPurge = valOfPurge;
        job.valEvery = valEvery;
        job.valOfEvery = valOfEvery;
        job.fileFolderStyle = fileFolderStyle;
        Open({job});
        Select(0);
        QCOMPARE(PanelText(1), summary);
        QCOMPARE(PanelText(2), fileFolderStyle);
        const StylePicture shown = StylePicture(picture ? picture : 4);
        QCOMPARE(PanelPicture(), Picture(Artwork::StylePicture(shown)));
        QCOMPARE(m_main->PanelPicture(), shown);

        m_main->FocusReset();
        QCOMPARE(PanelText(1), QStringLiteral(" "));
        QCOMPARE(PanelText(2), QStringLiteral(" "));
        QCOMPARE(PanelPicture(), Picture(Artwork::StylePicture(StylePicture::Neutral)));
    }

    // The summary clears when the focus moves on within the window, not for a pop-up.
    void focusLossClearsTheSummary()
    {
        frmMain& main = Open({{Folder(QStringLiteral("a")), Future}});
        Select(0);
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(main.List(), &popup);
        QVERIFY(PanelText(1).startsWith(QStringLiteral("Objects")));
        QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(main.List(), &tab);
        QCOMPARE(PanelText(1), QStringLiteral(" "));
        QCOMPARE(PanelText(2), QStringLiteral(" "));
    }

    void enabling_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QList<bool>>("expected"); // Enable, Disable, RunNow, Adjust

        QTest::newRow("1") << 1 << "Routine" << QList<bool>{true, true, true, false};
        QTest::newRow("2") << 2 << "Routine" << QList<bool>{true, true, true, false};
        QTest::newRow("3 routine") << 3 << "Routine" << QList<bool>{false, false, true, true};
        QTest::newRow("3 specific") << 3 << "Specific" << QList<bool>{false, false, true, false};
        QTest::newRow("4 routine") << 4 << "Routine" << QList<bool>{false, false, true, true};
        QTest::newRow("4 lower-case routine") << 4 << "routine" << QList<bool>{false, false, true, false};
        QTest::newRow("5") << 5 << "Routine" << QList<bool>{false, false, false, false};
        QTest::newRow("6") << 6 << "Routine" << QList<bool>{false, false, false, false};
    }
    void enabling()
    {
        QFETCH(int, icon);
        QFETCH(QString, style);
        QFETCH(QList<bool>, expected);

        StoredJob job{Folder(QStringLiteral("a")), Future};
        job.style = style;
        frmMain& main = Open({job, job});
        main.Table().SetIcon(0, RowIcon(icon));
        // Row 1 (icon 1) first, so that each state is a change.
        main.Table().SetIcon(1, icon == 1 ? RowIcon::Disabled : RowIcon::Enabled);
        Select(1);
        Select(0);
        const char* names[] = {"mnuEnable", "mnuDisable", "mnuRunNow", "mnuAdjust"};
        for (int i = 0; i < 4; ++i)
            QVERIFY2(Action(names[i])->isEnabled() == expected[i], names[i]);
        // What may run may be previewed.
        QCOMPARE(Action("mnuPreview")->isEnabled(), expected[2]);
    }

    void contextMenu_data()
    {
        QTest::addColumn<bool>("withJobs");
        QTest::newRow("empty list") << false;
        QTest::newRow("with jobs") << true;
    }
    void contextMenu()
    {
        QFETCH(bool, withJobs);
        std::vector<StoredJob> jobs;
        if (withJobs)
            jobs.push_back({Folder(QStringLiteral("a")), Future});
        frmMain& main = OpenShown(jobs);
        QTest::mouseClick(main.List()->viewport(), Qt::RightButton, {}, QPoint(40, 40));
        auto* context = main.findChild<QMenu*>(QStringLiteral("mnuContext"));
        QTRY_VERIFY(context->isVisible());
        for (const char* name : {"mnuEdit", "mnuJobOpt", "mnuBrowse", "mnuDel"})
            QVERIFY2(Action(name)->isEnabled() == withJobs, name);
        QVERIFY(Action("mnuAdd")->isEnabled());
        context->hide();
        // A left click pops nothing up.
        QTest::mouseClick(main.List()->viewport(), Qt::LeftButton, {}, QPoint(40, 40));
        QVERIFY(!context->isVisible());
    }

    void commandItems_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<int>("command");

        for (const ExpectedItem& item : ExpectedItems)
            QTest::newRow(item.name) << QString::fromLatin1(item.name) << QString::fromLatin1(item.caption)
                                     << QString::fromLatin1(item.parent)
                                     << QKeySequence(QString::fromLatin1(item.shortcut))
                                     << (item.command ? static_cast<int>(*item.command) : -1);
    }
    // Each item is in its place with its caption and shortcut, and reports its own command.
    void commandItems()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, parent);
        QFETCH(QKeySequence, shortcut);
        QFETCH(int, command);
        if (!m_main)
            Open({});
        QAction* action = m_main->findChild<QAction*>(name);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut(), shortcut);
        auto* place = m_main->findChild<QWidget*>(parent);
        QVERIFY(place);
        QVERIFY(place->actions().contains(action));
        if (command < 0)
            return;

        // Only the report is looked at: nothing runs the command.
        disconnect(m_main.get(), &frmMain::CommandTriggered, nullptr, nullptr);
        QSignalSpy triggered(m_main.get(), &frmMain::CommandTriggered);
        action->setEnabled(true);
        action->trigger();
        QCOMPARE(triggered.size(), 1);
        QCOMPARE(static_cast<int>(triggered[0][0].value<MainCommand>()), command);
    }

    // No command goes without an item in the table, and so in the window (commandItems).
    void everyCommandIsOffered()
    {
        for (int i = 0; i < MainCommandCount; ++i) {
            const auto command = static_cast<MainCommand>(i);
            QVERIFY2(std::any_of(std::begin(ExpectedItems), std::end(ExpectedItems),
                                 [command](const ExpectedItem& item) { return item.command == command; }),
                     qPrintable(QString::number(i)));
            QVERIFY2(std::any_of(CommandItems().begin(), CommandItems().end(),
                                 [command](const CommandItem& item) {
                                     return item.kind == CommandItem::Kind::Command &&
                                            item.command == command;
                                 }),
                     qPrintable(QString::number(i)));
        }
    }

    // Every key of the table is its own, and the keys added to the spec's are free of every
    // standard key, so none does two things.
    void shortcutsClashWithNothing()
    {
        QList<QKeySequence> standard;
        for (int key = QKeySequence::UnknownKey + 1; key <= QKeySequence::Cancel; ++key)
            standard << QKeySequence::keyBindings(QKeySequence::StandardKey(key));
        QList<QKeySequence> seen;
        for (const CommandItem& item : CommandItems()) {
            if (item.shortcut == QKeyCombination())
                continue;
            const QKeySequence key(item.shortcut);
            QVERIFY2(!seen.contains(key), item.objectName);
            seen << key;
            const bool added = item.command == MainCommand::EnableAllJobs ||
                               item.command == MainCommand::DisableAllJobs ||
                               item.command == MainCommand::Hide || item.command == MainCommand::Runs;
            if (added)
                QVERIFY2(!standard.contains(key), item.objectName);
        }
    }

    // A double-click on a job edits it, as Return does; elsewhere it does nothing.
    void doubleClickEdits_data()
    {
        QTest::addColumn<bool>("onJob");
        QTest::newRow("on a job") << true;
        QTest::newRow("below the jobs") << false;
    }
    void doubleClickEdits()
    {
        QFETCH(bool, onJob);
        frmMain& main =
            OpenShown({{Folder(QStringLiteral("a")), Future}, {Folder(QStringLiteral("b")), Future}});
        disconnect(&main, &frmMain::CommandTriggered, nullptr, nullptr);
        QSignalSpy triggered(&main, &frmMain::CommandTriggered);
        const QRect job = main.List()->visualRect(main.List()->model()->index(1, 1));
        const QPoint at = onJob ? job.center() : job.center() + QPoint(0, 4 * job.height());
        // As the desktop delivers one: a click, then the second press as the double-click.
        QWidget* viewport = main.List()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QMouseEvent second(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &second);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
        QCOMPARE(triggered.size(), onJob ? 1 : 0);
        if (onJob) {
            QCOMPARE(static_cast<int>(triggered[0][0].value<MainCommand>()),
                     static_cast<int>(MainCommand::EditSelectedJob));
            QCOMPARE(main.SelectedRow(), 1);
        }
    }

    // Each row icon in words: the icon's tool tip and the row's accessible description, and
    // the summary panel's tool tip while the row is selected, following a run that starts.
    void rowStateInWords_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("words");

        QTest::newRow("1") << 1 << "Enabled";
        QTest::newRow("2") << 2 << "Disabled";
        QTest::newRow("3") << 3 << "Enabled, next run passed";
        QTest::newRow("4") << 4 << "Disabled, next run passed";
        QTest::newRow("5") << 5 << "Folder not found";
        QTest::newRow("6") << 6 << "Running";
    }
    void rowStateInWords()
    {
        QFETCH(int, icon);
        QFETCH(QString, words);

        const QString folder = Folder(QStringLiteral("a"));
        frmMain& main = OpenShown({{folder, Future}});
        main.Table().SetIcon(0, RowIcon(icon));
        QTreeView* list = main.List();
        const QModelIndex first = list->model()->index(0, 0);
        // What a screen reader gets for the row's first cell.
        QAccessibleInterface* reader =
            QAccessible::queryAccessibleInterface(list)->tableInterface()->cellAt(0, 0);
        QCOMPARE(reader->text(QAccessible::Description), words);

        // Over the icon its words; over the folder the folder.
        const QRect cell = list->visualRect(first);
        auto tipAt = [list](const QPoint& at) {
            QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
            QCoreApplication::sendEvent(list->viewport(), &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(tipAt(QPoint(cell.left() + list->iconSize().width() / 2 + 4, cell.center().y())), words);
        QToolTip::hideText();
        QCOMPARE(tipAt(QPoint(cell.right() - 4, cell.center().y())), folder);
        QToolTip::hideText();

        auto* summary = main.findChild<QLabel*>(QStringLiteral("Panel1"));
        Select(0);
        QCOMPARE(summary->toolTip(), words);
        QCOMPARE(summary->accessibleDescription(), words);
        main.Table().SetIcon(0, icon == 6 ? RowIcon::Enabled : RowIcon::Running);
        QCOMPARE(summary->toolTip(), icon == 6 ? QStringLiteral("Enabled") : QStringLiteral("Running"));
        main.FocusReset();
        QVERIFY(summary->toolTip().isEmpty());
        QVERIFY(summary->accessibleDescription().isEmpty());
        // A cleared panel stays clear when the row changes.
        main.Table().SetIcon(0, RowIcon(icon));
        QVERIFY(summary->toolTip().isEmpty());
    }

    // Return and Enter edit the selected row, Delete deletes it, as their menu items do.
    void listKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("command");

        const int edit = static_cast<int>(MainCommand::EditSelectedJob);
        const int del = static_cast<int>(MainCommand::DeleteSelected);
        QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << true << edit;
        QTest::newRow("Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true << edit;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << int(Qt::NoModifier) << true << del;
        QTest::newRow("Shift+Delete") << int(Qt::Key_Delete) << int(Qt::ShiftModifier) << true << -1;
        QTest::newRow("Insert") << int(Qt::Key_Insert) << int(Qt::NoModifier) << true << -1;
        QTest::newRow("Delete without a row") << int(Qt::Key_Delete) << int(Qt::NoModifier) << false << -1;
    }
    void listKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, selected);
        QFETCH(int, command);

        frmMain& main = Open({{Folder(QStringLiteral("a")), Future}});
        if (selected)
            Select(0);
        disconnect(&main, &frmMain::CommandTriggered, nullptr, nullptr);
        QSignalSpy triggered(&main, &frmMain::CommandTriggered);
        QTest::keyClick(main.List(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(triggered.size(), command < 0 ? 0 : 1);
        if (command >= 0)
            QCOMPARE(static_cast<int>(triggered[0][0].value<MainCommand>()), command);
    }

    void menuBarAndSeparators()
    {
        frmMain& main = Open({});
        const QList<QAction*> bar = main.menuBar()->actions();
        QCOMPARE(bar.size(), 3);
        QCOMPARE(bar[0]->text(), QStringLiteral("&File"));
        QCOMPARE(bar[1]->text(), QStringLiteral("&View"));
        QCOMPARE(bar[2]->text(), QStringLiteral("&Context"));
        QVERIFY(bar[0]->isVisible() && bar[1]->isVisible());
        QVERIFY(!bar[2]->isVisible());
        // Every item and separator in its place, in order.
        const QStringList file{QStringLiteral("mnuNew"),        QStringLiteral("mnuSave"),
                               QStringLiteral("mnuFileSep1"),   QStringLiteral("mnuEnableAll"),
                               QStringLiteral("mnuDisableAll"), QStringLiteral("mnuFileSep6"),
                               QStringLiteral("mnuOption"),     QStringLiteral("mnuFileSep2"),
                               QStringLiteral("mnuHide"),       QStringLiteral("mnuExit")};
        const QStringList view{QStringLiteral("mnuQuillon"),  QStringLiteral("mnuRuns"),
                               QStringLiteral("mnuFileSep3"), QStringLiteral("mnuMainThread"),
                               QStringLiteral("mnuFileSep4"), QStringLiteral("mnuHelp"),
                               QStringLiteral("mnuFileSep5"), QStringLiteral("mnuAbout")};
        auto names = [&](const char* menu) {
            QStringList list;
            for (QAction* a : main.findChild<QMenu*>(QLatin1String(menu))->actions())
                list << a->objectName();
            return list;
        };
        QCOMPARE(names("mnuFile"), file);
        QCOMPARE(names("mnuView"), view);
        QCOMPARE(names("mnuContext"), QStringList({QStringLiteral("mnuAdd"), QStringLiteral("mnuEdit"),
                                                   QStringLiteral("mnuXsep1"), QStringLiteral("mnuJobOpt"),
                                                   QStringLiteral("mnuXsep4"), QStringLiteral("mnuBrowse"),
                                                   QStringLiteral("mnuXsep5"), QStringLiteral("mnuDel")}));
        QCOMPARE(names("mnuJobOpt"), QStringList({QStringLiteral("mnuEnable"), QStringLiteral("mnuDisable"),
                                                  QStringLiteral("mnuXsep2"), QStringLiteral("mnuRunNow"),
                                                  QStringLiteral("mnuPreview"), QStringLiteral("mnuJobRuns"),
                                                  QStringLiteral("mnuXsep3"), QStringLiteral("mnuAdjust")}));
    }

    void toolbar()
    {
        frmMain& main = Open({});
        auto* toolbar = main.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QVERIFY(toolbar);
        const QList<QPair<QString, QString>> expected{
            {QStringLiteral("New"), QStringLiteral("Add New Task")},
            {QStringLiteral("Save"), QStringLiteral("Save Jobs")},
            {QStringLiteral("Enable"), QStringLiteral("Enable All Jobs")},
            {QStringLiteral("Disable"), QStringLiteral("Disable All Jobs")},
            {QStringLiteral("Log"), QStringLiteral("Log Explorer")},
            {QStringLiteral("Options"), QStringLiteral("Options")},
            {QStringLiteral("Help"), QStringLiteral("Help")},
            {QStringLiteral("Hide"), QStringLiteral("Hide Program")}};
        const QList<QAction*> actions = toolbar->actions();
        QCOMPARE(actions.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(actions[i]->objectName(), expected[i].first);
            QCOMPARE(actions[i]->toolTip(), expected[i].second);
            QVERIFY(!actions[i]->isSeparator());
        }
        QCOMPARE(toolbar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }

    void sorting_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("order");

        QTest::newRow("text ascending") << 1 << 1 << "abc";
        QTest::newRow("text descending") << 1 << 2 << "cba";
        QTest::newRow("numbers ascending") << 2 << 1 << "bac";
        QTest::newRow("numbers descending") << 2 << 2 << "cab";
        QTest::newRow("unit text") << 3 << 1 << "acb";
        QTest::newRow("style text descending") << 4 << 2 << "bac";
        QTest::newRow("empty count first") << 5 << 1 << "bca";
        QTest::newRow("empty count last") << 5 << 2 << "acb";
        QTest::newRow("dates ascending") << 7 << 1 << "cba";
        QTest::newRow("dates descending") << 7 << 2 << "abc";
        QTest::newRow("third click ascending again") << 2 << 3 << "bac";
    }
    void sorting()
    {
        QFETCH(int, column);
        QFETCH(int, clicks);
        QFETCH(QString, order);

        frmMain& main = OpenShown(SortJobs());
        std::vector<JobRow> before = main.Table().Rows();
        Select(1);
        const quint64 selected = main.Table().Row(1).id;
        for (int i = 0; i < clicks; ++i)
            ClickHeader(column - 1);
        QCOMPARE(Order(), order);
        // Rows move whole: every text and tag stays with its job, and so does the selection.
        for (const JobRow& row : main.Table().Rows())
            QVERIFY(std::find(before.begin(), before.end(), row) != before.end());
        QCOMPARE(main.Table().Row(main.SelectedRow()).id, selected);
        QCOMPARE(main.List()->model()->index(main.SelectedRow(), 0).data().toString(),
                 main.Table().Row(main.SelectedRow()).FolderLoc);
    }

    // Each column keeps its own direction: a first click elsewhere is ascending.
    void columnsAlternateOnTheirOwn()
    {
        frmMain& main = OpenShown(SortJobs());
        ClickHeader(1);
        ClickHeader(1);
        QCOMPARE(Order(), QStringLiteral("cab"));
        ClickHeader(6);
        QCOMPARE(Order(), QStringLiteral("cba"));
        ClickHeader(1);
        QCOMPARE(Order(), QStringLiteral("bac"));
        Q_UNUSED(main);
    }

    // Size, place, column widths and sort come back at the next start as the window was hidden,
    // and the next click on the sorted column turns its order.
    void windowStateComesBack()
    {
        frmMain& first = OpenShown(SortJobs());
        const QRect placed(40, 50, 700, 380);
        first.setGeometry(placed);
        QTRY_COMPARE(first.geometry(), placed);
        first.List()->header()->resizeSection(1, 90);
        ClickHeader(6);
        QCOMPARE(Order(), QStringLiteral("cba"));
        const QList<int> widths = ColumnWidths();
        QVERIFY(!first.close());
        QVERIFY(QFileInfo::exists(WindowsFile()));
        QVERIFY(!IniFiles::Read(ConfigDatPath(ProgramFolder())).contains("Width"));

        frmMain& second = OpenShown(SortJobs());
        QCOMPARE(second.geometry(), placed);
        QCOMPARE(ColumnWidths(), widths);
        QCOMPARE(Order(), QStringLiteral("cba"));
        QCOMPARE(second.List()->header()->sortIndicatorSection(), 6);
        ClickHeader(6);
        QCOMPARE(Order(), QStringLiteral("abc"));
    }

    // A wider window widens the Folder Location column only: paths are no longer cut.
    void folderColumnTakesTheRoom_data()
    {
        QTest::addColumn<int>("change");
        QTest::newRow("wider") << 80;
        QTest::newRow("narrower") << -40;
    }

    void folderColumnTakesTheRoom()
    {
        QFETCH(int, change);
        frmMain& main = OpenShown({});
        main.resize(700, 400);
        QTRY_COMPARE(main.List()->width(), main.centralWidget()->width());
        const QList<int> before = ColumnWidths();
        const int listWidth = main.List()->width();
        main.resize(700 + change, 400);
        QTRY_COMPARE(main.List()->width(), listWidth + change);
        QCOMPARE(ColumnWidths().mid(1), before.mid(1));
        QCOMPARE(ColumnWidths().front(), before.front() + change);
    }

    // The empty list says how to add a job, in the words of the File menu; a job hides it.
    void emptyListHint_data()
    {
        QTest::addColumn<int>("jobs");
        QTest::addColumn<int>("removed");
        QTest::addColumn<bool>("shown");
        QTest::newRow("no job") << 0 << 0 << true;
        QTest::newRow("one job") << 1 << 0 << false;
        QTest::newRow("last job deleted") << 1 << 1 << true;
    }

    void emptyListHint()
    {
        QFETCH(int, jobs);
        QFETCH(int, removed);
        std::vector<StoredJob> stored;
        for (int i = 0; i < jobs; ++i)
            stored.push_back({Folder(QString::number(i)), Future});
        frmMain& main = OpenShown(stored);
        for (int i = 0; i < removed; ++i)
            main.Table().Remove(0);
        auto* hint = main.List()->viewport()->findChild<QLabel*>(QStringLiteral("EmptyHint"));
        QVERIFY(hint);
        QTEST(hint->isVisible(), "shown");
        QCOMPARE(hint->text(),
                 QStringLiteral("No purge jobs yet. Press Ctrl+N or choose File > New Job to add one."));
    }

    // A change of a row's icon (a timer tick) redraws that row and keeps the selection.
    void rowChangesKeepTheSelection()
    {
        frmMain& main = OpenShown(SortJobs());
        Select(2);
        QSignalSpy resets(main.List()->model(), &QAbstractItemModel::modelReset);
        main.Table().SetIcon(2, RowIcon::Running);
        main.Table().SetIcon(0, RowIcon::Running);
        QCOMPARE(main.SelectedRow(), 2);
        QCOMPARE(resets.count(), 0);
        QCOMPARE(Picture(main.List()->model()->index(2, 0).data(Qt::DecorationRole).value<QIcon>()),
                 Picture(Artwork::RowIcon(RowIcon::Running)));
    }

    void dateKindFollowsTheOptions()
    {
        frmMain& main = Open({});
        main.Table().SetOptions(QStringLiteral("Date: Created"), QStringLiteral("1"));
        QCOMPARE(PanelText(3), QStringLiteral("Date: Created"));
    }

    // The close box hides to the tray; the timers go on, so a run's marker still shows.
    void closeBoxHidesAndTimersRun()
    {
        const QString folder = Folder(QStringLiteral("a"));
        frmMain& main = OpenShown({{folder, Future}});
        QVERIFY(main.close() == false);
        QVERIFY(!main.isVisible());
        QVERIFY(main.isMinimized());
        QVERIFY(main.Host().findChild<QTimer*>(QStringLiteral("TimerCheckJob"))->isActive());
        QCOMPARE(main.Host().findChild<QTimer*>(QStringLiteral("TimerCheckJob"))->interval(), 3000);
        QCOMPARE(main.Host().findChild<QTimer*>(QStringLiteral("TimerCheckStat"))->interval(), 2000);
        AddTextToFile(ProgramFolder() + QStringLiteral("/statdump.tmp"), folder);
        QTRY_COMPARE_WITH_TIMEOUT(main.Table().Row(0).icon, RowIcon::Running, 5000);
    }

    // Without a system tray the window is only minimised, so it can always be reached.
    void closeBoxMinimisesWithoutTray()
    {
        frmMain& main = Open({}, false);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.close();
        QVERIFY(main.isVisible());
        QVERIFY(main.isMinimized());
    }

    void exitNoThenYes()
    {
        frmMain& main = OpenShown({});
        QSignalSpy unloaded(&main, &frmMain::Unloaded);
        MessageBoxAnswerer answers({QMessageBox::No, QMessageBox::Yes});
        QAction* exit = Action("mnuExit");
        QCOMPARE(main.GetExitState(), frmMain::ExitState::None);

        exit->trigger();
        QCOMPARE(answers.SeenBoxes().size(), size_t(1));
        const auto& box = answers.SeenBoxes()[0];
        QCOMPARE(box.title, QStringLiteral("Exit Program"));
        QCOMPARE(box.text, QStringLiteral("Do you want to close this program?"));
        QCOMPARE(box.icon, QMessageBox::Question);
        QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.defaultButton, QMessageBox::Yes);
        QVERIFY(main.isVisible());
        QCOMPARE(main.GetExitState(), frmMain::ExitState::NoExit);
        QCOMPARE(unloaded.count(), 0);

        // The close box after a No hides without asking.
        main.close();
        QVERIFY(!main.isVisible());
        QCOMPARE(answers.SeenBoxes().size(), size_t(1));

        main.showNormal();
        exit->trigger();
        QCOMPARE(answers.SeenBoxes().size(), size_t(2));
        QCOMPARE(main.GetExitState(), frmMain::ExitState::ExitProg);
        QCOMPARE(unloaded.count(), 1);
        QVERIFY(!main.Host().findChild<QTimer*>(QStringLiteral("TimerCheckJob"))->isActive());
    }

    // With unsaved changes the exit offers to save them, by default; each answer is checked
    // on the job file and on whether the program ends.
    void exitWithChanges_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveFails");
        QTest::addColumn<bool>("ends");
        QTest::addColumn<bool>("saved");
        QTest::newRow("save and exit") << int(QMessageBox::Save) << false << true << true;
        QTest::newRow("exit without saving") << int(QMessageBox::Discard) << false << true << false;
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << false << false << false;
        QTest::newRow("save fails") << int(QMessageBox::Save) << true << false << false;
    }
    void exitWithChanges()
    {
        QFETCH(int, answer);
        QFETCH(bool, saveFails);
        QFETCH(bool, ends);
        QFETCH(bool, saved);
        frmMain& main = OpenShown({StoredJob(Folder(QStringLiteral("a")), Future)});
        QSignalSpy unloaded(&main, &frmMain::Unloaded);
        Select(0);
        Action("mnuDisable")->trigger();
        QVERIFY(main.Table().IsDirty());
        const QString config = ConfigDatPath(ProgramFolder());
        if (saveFails) {
            // A folder where the file was: no save can replace it.
            QVERIFY(QFile::remove(config));
            QVERIFY(QDir().mkdir(config));
        }
        MessageBoxAnswerer answers({QMessageBox::StandardButton(answer), QMessageBox::Ok});
        Action("mnuExit")->trigger();

        QCOMPARE(answers.SeenBoxes().size(), size_t(saveFails ? 2 : 1));
        const auto& box = answers.SeenBoxes()[0];
        QCOMPARE(box.title, QStringLiteral("Exit Program"));
        QCOMPARE(box.text, QStringLiteral("Do you want to close this program?"));
        QCOMPARE(box.icon, QMessageBox::Question);
        QCOMPARE(box.buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(box.defaultButton, QMessageBox::Save);
        QCOMPARE(box.captions.at(QMessageBox::Save), QStringLiteral("Save and Exit"));
        QCOMPARE(box.captions.at(QMessageBox::Discard), QStringLiteral("Exit Without Saving"));
        QCOMPARE(box.captions.at(QMessageBox::Cancel), QStringLiteral("Cancel"));
        if (saveFails) {
            const auto& error = answers.SeenBoxes()[1];
            QCOMPARE(error.title, QStringLiteral("Error"));
            QCOMPARE(error.icon, QMessageBox::Critical);
            QVERIFY(error.text.contains(config));
        } else {
            QFile file(config);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll().contains("Status=Disabled"), saved);
        }
        QCOMPARE(unloaded.count(), ends ? 1 : 0);
        QCOMPARE(main.GetExitState(), ends ? frmMain::ExitState::ExitProg : frmMain::ExitState::NoExit);
        QCOMPARE(main.isVisible(), !ends);
    }
};

QTEST_MAIN(TstFrmMain)
#include "tst_frmmain.moc"
