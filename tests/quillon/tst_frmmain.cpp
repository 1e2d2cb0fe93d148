// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon/fakes.h"
#include "quillon/frmmain.h"
#include "support/inifiles.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QScopeGuard>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <memory>

using quillon::frmMain;

namespace {

// A program folder with a quillon.ini that points at a log folder whose name has blanks.
struct Explorer
{
    explicit Explorer(const QString& filter = ".htm", const QString& viewer = "xdg-open")
    {
        logs = dir.path() + "/log files";
        QDir().mkpath(logs);
        WriteQuillonIni(dir.path(), "true", logs, filter, viewer);
    }
    frmMain& Open()
    {
        window = std::make_unique<frmMain>(dir.path(), asker, starter);
        return *window;
    }
    QTreeView* List() const { return window->findChild<QTreeView*>("ListView1"); }
    QStringList Names() const
    {
        QStringList names;
        const QAbstractItemModel* model = List()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            names << model->index(row, 0).data().toString();
        return names;
    }
    QString Total() const
    {
        return window->findChild<QStatusBar*>("StatusBar1")->findChild<QLabel*>()->text();
    }
    void Trigger(const char* action) const { window->findChild<QAction*>(action)->trigger(); }
    void Select(const QString& name) const
    {
        const int row = static_cast<int>(Names().indexOf(name));
        List()->setCurrentIndex(List()->model()->index(row, 0));
    }

    QTemporaryDir dir;
    QString logs;
    FakeAsker asker;
    FakeStarter starter;
    std::unique_ptr<frmMain> window;
};

void ClickHeader(QTreeView* list, int column)
{
    QHeaderView* header = list->header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void Filter_data();
    void Filter();
    void DefaultFileWrittenWhenMissing();
    void MissingFolderKeepsTheList();
    void SortsByDateBothWays();
    void SortsByNameAndKeepsSortOnRefresh();
    void WindowStateComesBack();
    void OpensWithinTheScreen_data();
    void OpensWithinTheScreen();
    void Delete_data();
    void Delete();
    void DeleteOfVanishedFileRemovesRowOnly();
    void DeleteFailureIsReported();
    void View_data();
    void View();
    void ViewerThatCannotStartIsReported();
    void EmptyListIgnoresViewAndDelete();
};

void TestFrmMain::Filter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow(".htm is exact and case counts") << ".htm" << QStringList{"a.htm", "week.htm"};
    QTest::newRow(".html") << ".html" << QStringList{"a.html"};
    QTest::newRow("four letters without a dot") << "html" << QStringList{"a.html"};
    QTest::newRow("longer than five characters") << ".htmlx" << QStringList{};
    QTest::newRow("nothing matches") << ".log" << QStringList{};
}

void TestFrmMain::Filter()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, listed);
    Explorer explorer(filter);
    for (const char* name : {"a.htm", "a.html", "A.HTM", "week.htm", "notes.txt", "a.htmlx"})
        WriteFile(explorer.logs + "/" + name);
    explorer.Open();
    QCOMPARE(explorer.Names(), listed);
    QCOMPARE(explorer.Total(), "Total Files : " + QString::number(listed.size()));
    QVERIFY(explorer.asker.calls.empty());
}

void TestFrmMain::DefaultFileWrittenWhenMissing()
{
    Explorer explorer;
    QFile::remove(explorer.dir.path() + "/quillon.ini");
    explorer.Open();
    QCOMPARE(IniFiles::Read(explorer.dir.path() + "/quillon.ini"),
             QByteArray("[init]\r\nlock=true\r\nfolder=\r\nfilter=.htm\r\nviewer=xdg-open\r\n"));
    QVERIFY(explorer.Names().isEmpty());
    QCOMPARE(explorer.Total(), "Total Files : 0");
    QVERIFY(explorer.asker.calls.empty());
}

void TestFrmMain::MissingFolderKeepsTheList()
{
    Explorer explorer;
    WriteFile(explorer.logs + "/a.htm");
    explorer.Open();
    QVERIFY(QDir(explorer.logs).removeRecursively());
    explorer.Trigger("mnuRefresh");
    QCOMPARE(explorer.asker.calls.size(), 1u);
    QCOMPARE(explorer.asker.calls[0].title, "Folder Error");
    QCOMPARE(explorer.asker.calls[0].text, "Log folder not found! ");
    QCOMPARE(explorer.asker.calls[0].icon, QMessageBox::Critical);
    QCOMPARE(explorer.Names(), QStringList{"a.htm"});
    QCOMPARE(explorer.Total(), "Total Files : 1");
}

void TestFrmMain::SortsByDateBothWays()
{
    Explorer explorer;
    // Name order, text order of the times and time order all differ.
    WriteFile(explorer.logs + "/a.htm", "x", QDateTime(QDate(2027, 1, 15), QTime(9, 0)));
    WriteFile(explorer.logs + "/b.htm", "x", QDateTime(QDate(2026, 12, 31), QTime(23, 0)));
    WriteFile(explorer.logs + "/c.htm", "x", QDateTime(QDate(2026, 12, 31), QTime(8, 0)));
    WriteFile(explorer.logs + "/d.htm", "x", QDateTime(QDate(2026, 12, 31), QTime(13, 0)));
    frmMain& window = explorer.Open();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    ClickHeader(explorer.List(), 1);
    QCOMPARE(explorer.Names(), (QStringList{"c.htm", "d.htm", "b.htm", "a.htm"}));
    ClickHeader(explorer.List(), 1);
    QCOMPARE(explorer.Names(), (QStringList{"a.htm", "b.htm", "d.htm", "c.htm"}));
    ClickHeader(explorer.List(), 1);
    QCOMPARE(explorer.Names(), (QStringList{"c.htm", "d.htm", "b.htm", "a.htm"}));
}

void TestFrmMain::SortsByNameAndKeepsSortOnRefresh()
{
    Explorer explorer;
    for (const char* name : {"b.htm", "c.htm", "a.htm"})
        WriteFile(explorer.logs + "/" + name);
    frmMain& window = explorer.Open();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    ClickHeader(explorer.List(), 0);
    QCOMPARE(explorer.Names(), (QStringList{"a.htm", "b.htm", "c.htm"}));
    ClickHeader(explorer.List(), 0);
    QCOMPARE(explorer.Names(), (QStringList{"c.htm", "b.htm", "a.htm"}));
    WriteFile(explorer.logs + "/bb.htm");
    explorer.Trigger("mnuRefresh");
    QCOMPARE(explorer.Names(), (QStringList{"c.htm", "bb.htm", "b.htm", "a.htm"}));
}

// Size, place, column widths and sort come back at the next start from a file of their own;
// quillon.ini stays byte for byte.
void TestFrmMain::WindowStateComesBack()
{
    Explorer explorer;
    for (const char* name : {"b.htm", "c.htm", "a.htm"})
        WriteFile(explorer.logs + "/" + name);
    const QString ini = explorer.dir.filePath("quillon.ini");
    const QByteArray settings = IniFiles::Read(ini);
    const QRect placed(30, 40, 520, 330);
    {
        frmMain& first = explorer.Open();
        first.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        first.setGeometry(placed);
        QTRY_COMPARE(first.geometry(), placed);
        explorer.List()->setColumnWidth(0, 200);
        ClickHeader(explorer.List(), 0);
        ClickHeader(explorer.List(), 0);
        QVERIFY(first.close());
    }
    QCOMPARE(IniFiles::Read(ini), settings);

    frmMain& second = explorer.Open();
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QCOMPARE(second.geometry(), placed);
    QCOMPARE(explorer.List()->columnWidth(0), 200);
    QCOMPARE(explorer.Names(), (QStringList{"c.htm", "b.htm", "a.htm"}));
    ClickHeader(explorer.List(), 0);
    QCOMPARE(explorer.Names(), (QStringList{"a.htm", "b.htm", "c.htm"}));
}

void TestFrmMain::OpensWithinTheScreen_data()
{
    QTest::addColumn<QByteArray>("state");
    QTest::newRow("first start") << QByteArray();
    QTest::newRow("larger than the screen")
        << QByteArray("[frmMain]\nLeft=0\nTop=0\nWidth=5000\nHeight=4000\n");
    QTest::newRow("on a screen no longer there")
        << QByteArray("[frmMain]\nLeft=3000\nTop=2000\nWidth=400\nHeight=300\n");
}

void TestFrmMain::OpensWithinTheScreen()
{
    QFETCH(QByteArray, state);
    Explorer explorer;
    if (!state.isEmpty())
        WriteFile(explorer.dir.filePath("quillon-windows.ini"), state);
    frmMain& window = explorer.Open();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect available = window.screen()->availableGeometry();
    QVERIFY(available.contains(window.geometry()));
    // Centred, not in a corner.
    QVERIFY(qAbs(window.geometry().center().x() - available.center().x()) <= 1);
    QVERIFY(explorer.List()->columnWidth(0) > 0);
}

void TestFrmMain::Delete_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("Yes") << QMessageBox::Yes << QStringList{"a.htm", "c.htm"};
    QTest::newRow("No") << QMessageBox::No << QStringList{"a.htm", "b.htm", "c.htm"};
}

void TestFrmMain::Delete()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QStringList, left);
    Explorer explorer;
    for (const char* name : {"a.htm", "b.htm", "c.htm"})
        WriteFile(explorer.logs + "/" + name);
    explorer.Open();
    explorer.Select("b.htm");
    explorer.asker.answer = answer;
    explorer.Trigger("mnuDelete");

    QCOMPARE(explorer.asker.calls.size(), 1u);
    QCOMPARE(explorer.asker.calls[0].title, "Confirm Delete");
    QCOMPARE(explorer.asker.calls[0].text, "Do you want to permenantly delete [b.htm]?");
    QCOMPARE(explorer.asker.calls[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(explorer.Names(), left);
    QCOMPARE(QDir(explorer.logs).entryList(QDir::Files), left);
    QCOMPARE(explorer.Total(), "Total Files : " + QString::number(left.size()));
}

void TestFrmMain::DeleteOfVanishedFileRemovesRowOnly()
{
    Explorer explorer;
    for (const char* name : {"a.htm", "b.htm"})
        WriteFile(explorer.logs + "/" + name);
    explorer.Open();
    explorer.Select("a.htm");
    QFile::remove(explorer.logs + "/a.htm");
    WriteFile(explorer.logs + "/new.htm");
    explorer.Trigger("mnuDelete");
    // Not refilled: the file that appeared meanwhile is not listed yet.
    QCOMPARE(explorer.Names(), QStringList{"b.htm"});
    QCOMPARE(QDir(explorer.logs).entryList(QDir::Files), (QStringList{"b.htm", "new.htm"}));
}

// True when a file can no longer be created in the folder; root ignores permissions, so the
// folder is then made immutable.
bool CanCreateIn(const QString& folder)
{
    QFile probe(folder + "/probe");
    return probe.open(QIODevice::WriteOnly) && probe.remove();
}

// True when no file can be created in (or deleted from) the folder any more; root ignores
// permissions, so the folder is then made immutable.
bool ProtectFolder(const QString& folder, bool protect)
{
    QFile::setPermissions(folder, protect ? QFile::ReadOwner | QFile::ExeOwner
                                          : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!protect || CanCreateIn(folder))
        QProcess::execute("chattr", {protect ? "+i" : "-i", folder});
    return protect && !CanCreateIn(folder);
}

void TestFrmMain::DeleteFailureIsReported()
{
    Explorer explorer;
    WriteFile(explorer.logs + "/a.htm");
    explorer.Open();
    const auto unprotect = qScopeGuard([&] { ProtectFolder(explorer.logs, false); });
    if (!ProtectFolder(explorer.logs, true))
        QSKIP("the folder cannot be protected here");
    explorer.Trigger("mnuDelete");
    QCOMPARE(explorer.asker.calls.size(), 2u);
    QCOMPARE(explorer.asker.calls[1].icon, QMessageBox::Critical);
    QCOMPARE(explorer.asker.calls[1].text, "The file [a.htm] could not be deleted! ");
    // Refilled: the file is still there, and so is its row.
    QCOMPARE(explorer.Names(), QStringList{"a.htm"});
}

void TestFrmMain::View_data()
{
    QTest::addColumn<QString>("viewer");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("options");
    QTest::newRow("xdg-open") << "xdg-open"
                              << "xdg-open" << QStringList{};
    QTest::newRow("editor with an option") << "mousepad --disable-server"
                                           << "mousepad" << QStringList{"--disable-server"};
    QTest::newRow("quoted program with blanks") << "\"/opt/my viewer/view\" -r"
                                                << "/opt/my viewer/view" << QStringList{"-r"};
}

void TestFrmMain::View()
{
    QFETCH(QString, viewer);
    QFETCH(QString, program);
    QFETCH(QStringList, options);
    Explorer explorer(".htm", viewer);
    WriteFile(explorer.logs + "/a.htm");
    WriteFile(explorer.logs + "/week 1; rm -rf x.htm");
    frmMain& window = explorer.Open();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QModelIndex index = explorer.List()->model()->index(1, 0);
    const QPoint at = explorer.List()->visualRect(index).center();
    // A double click reaches the view as a press followed by the double-click event.
    QTest::mousePress(explorer.List()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(explorer.List()->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(explorer.starter.starts, 1);
    QCOMPARE(explorer.starter.program, program);
    QCOMPARE(explorer.starter.arguments, options + QStringList{explorer.logs + "/week 1; rm -rf x.htm"});

    explorer.Select("a.htm");
    explorer.Trigger("mnuView");
    QCOMPARE(explorer.starter.starts, 2);
    QCOMPARE(explorer.starter.arguments, options + QStringList{explorer.logs + "/a.htm"});
    QVERIFY(explorer.asker.calls.empty());
}

void TestFrmMain::ViewerThatCannotStartIsReported()
{
    Explorer explorer(".htm", "no-such-viewer");
    WriteFile(explorer.logs + "/a.htm");
    explorer.Open();
    explorer.starter.result = false;
    explorer.Trigger("mnuView");
    QCOMPARE(explorer.asker.calls.size(), 1u);
    QCOMPARE(explorer.asker.calls[0].icon, QMessageBox::Critical);
    QCOMPARE(explorer.asker.calls[0].text, "The viewer [no-such-viewer] could not be started! ");
}

void TestFrmMain::EmptyListIgnoresViewAndDelete()
{
    Explorer explorer;
    explorer.Open();
    QCOMPARE(explorer.Total(), "Total Files : 0");
    explorer.Trigger("mnuView");
    explorer.Trigger("mnuDelete");
    QCOMPARE(explorer.starter.starts, 0);
    QVERIFY(explorer.asker.calls.empty());
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
