// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon/fakes.h"
#include "quillon/frmmain.h"
#include "quillon/frmoptions.h"
#include "quillon/inimod.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <memory>

using namespace quillon;

namespace {

// The main window over a program folder with two log folders, and its Options dialog open.
struct Options
{
    explicit Options(const QString& lock)
    {
        oldLogs = dir.path() + "/old logs";
        newLogs = dir.path() + "/new logs";
        QDir().mkpath(oldLogs);
        QDir().mkpath(newLogs);
        WriteFile(oldLogs + "/old.htm");
        WriteFile(newLogs + "/new.log");
        WriteQuillonIni(dir.path(), lock, oldLogs);
        main = std::make_unique<frmMain>(dir.path(), asker, starter);
        Click(main.get(), "CmdOptions");
        dialog = main->findChild<frmOptions*>("frmOptions");
    }
    static void Click(QWidget* window, const char* name)
    {
        QTest::mouseClick(window->findChild<QPushButton*>(name), Qt::LeftButton);
    }
    void Click(const char* name) const { Click(dialog, name); }
    QString Caption(const char* name) const { return dialog->findChild<QPushButton*>(name)->text(); }
    QLineEdit* Text1() const { return dialog->findChild<QLineEdit*>("Text1"); }
    QComboBox* Combo(const char* name) const { return dialog->findChild<QComboBox*>(name); }
    void Fill(const QString& folder, const QString& filter, const QString& viewer) const
    {
        Text1()->setText(folder);
        Combo("ComboFilter")->setCurrentText(filter);
        Combo("ComboViewer")->setCurrentText(viewer);
    }
    QStringList Listed() const
    {
        const QAbstractItemModel* model = main->findChild<QTreeView*>("ListView1")->model();
        QStringList names;
        for (int row = 0; row < model->rowCount(); ++row)
            names << model->index(row, 0).data().toString();
        return names;
    }
    LogSettings Saved() const
    {
        IniMod file(dir.path());
        file.LoadSettings();
        return file.Current();
    }

    QTemporaryDir dir;
    QString oldLogs;
    QString newLogs;
    FakeAsker asker;
    FakeStarter starter;
    std::unique_ptr<frmMain> main;
    QPointer<frmOptions> dialog;
};

} // namespace

class TestFrmOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void Caption_data();
    void Caption();
    void OpensViewingAndEditsAfterChange();
    void CancelPutsTheFieldsBack();
    void OkRefuses_data();
    void OkRefuses();
    void OkWhileLockedKeepsTheFile();
    void OkWhileUnlockedSaves();
    void SetTakesThePickedFolder();
};

void TestFrmOptions::Caption_data()
{
    QTest::addColumn<QString>("lock");
    QTest::addColumn<QString>("caption");
    QTest::newRow("true") << "true"
                          << "Options - Locked";
    QTest::newRow("FALSE") << "FALSE"
                           << "Options - Unlocked";
    QTest::newRow("no truth value") << "maybe"
                                    << "Options - Locked";
}

void TestFrmOptions::Caption()
{
    QFETCH(QString, lock);
    QFETCH(QString, caption);
    Options options(lock);
    QVERIFY(options.dialog);
    QVERIFY(options.dialog->isVisible());
    QVERIFY(!options.dialog->isModal());
    QCOMPARE(options.dialog->windowTitle(), caption);
}

void TestFrmOptions::OpensViewingAndEditsAfterChange()
{
    Options options("true");
    QCOMPARE(options.Text1()->text(), options.oldLogs);
    QCOMPARE(options.Text1()->toolTip(), options.oldLogs);
    QCOMPARE(options.Combo("ComboFilter")->currentText(), ".htm");
    QCOMPARE(options.Combo("ComboViewer")->currentText(), "xdg-open");
    for (const char* name : {"Text1", "ComboFilter", "ComboViewer", "CmdSet"})
        QVERIFY2(!options.dialog->findChild<QWidget*>(name)->isEnabled(), name);
    QCOMPARE(options.Caption("CmdChange"), "Change");
    QCOMPARE(options.Caption("CmdClose"), "Close");

    options.Click("CmdChange");
    for (const char* name : {"Text1", "ComboFilter", "ComboViewer", "CmdSet"})
        QVERIFY2(options.dialog->findChild<QWidget*>(name)->isEnabled(), name);
    QCOMPARE(options.Caption("CmdChange"), "Ok");
    QCOMPARE(options.Caption("CmdClose"), "Cancel");
}

void TestFrmOptions::CancelPutsTheFieldsBack()
{
    Options options("false");
    options.Click("CmdChange");
    options.Fill(options.newLogs, ".log", "mousepad");
    options.Click("CmdClose");

    QVERIFY(options.dialog->isVisible());
    QCOMPARE(options.Text1()->text(), options.oldLogs);
    QCOMPARE(options.Combo("ComboFilter")->currentText(), ".htm");
    QCOMPARE(options.Combo("ComboViewer")->currentText(), "xdg-open");
    QVERIFY(!options.Text1()->isEnabled());
    QCOMPARE(options.Caption("CmdChange"), "Change");
    QCOMPARE(options.Caption("CmdClose"), "Close");
    QCOMPARE(options.Saved().folder, options.oldLogs);

    options.Click("CmdClose");
    QVERIFY(!options.dialog || !options.dialog->isVisible());
}

void TestFrmOptions::OkRefuses_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::newRow("empty") << ""
                           << "Log folder is empty! " << QMessageBox::Warning;
    QTest::newRow("missing") << "/no/such/folder"
                             << "Log folder not found! " << QMessageBox::Critical;
}

void TestFrmOptions::OkRefuses()
{
    QFETCH(QString, folder);
    QFETCH(QString, text);
    QFETCH(QMessageBox::Icon, icon);
    Options options("false");
    options.Click("CmdChange");
    options.Fill(folder, ".log", "mousepad");
    options.Click("CmdChange");

    QCOMPARE(options.asker.calls.size(), 1u);
    QCOMPARE(options.asker.calls[0].title, "Error");
    QCOMPARE(options.asker.calls[0].text, text);
    QCOMPARE(options.asker.calls[0].icon, icon);
    QVERIFY(options.dialog->isVisible());
    QCOMPARE(options.Caption("CmdChange"), "Ok");
    QCOMPARE(options.Saved().folder, options.oldLogs);
    QCOMPARE(options.Listed(), QStringList{"old.htm"});
}

void TestFrmOptions::OkWhileLockedKeepsTheFile()
{
    Options options("true");
    const QByteArray before = IniFiles::Read(options.dir.path() + "/quillon.ini");
    options.Click("CmdChange");
    options.Fill(options.newLogs, ".log", "mousepad");
    options.Click("CmdChange");

    QVERIFY(!options.dialog || !options.dialog->isVisible());
    QCOMPARE(options.Listed(), QStringList{"new.log"});
    QCOMPARE(IniFiles::Read(options.dir.path() + "/quillon.ini"), before);
    QVERIFY(options.asker.calls.empty());
}

void TestFrmOptions::OkWhileUnlockedSaves()
{
    Options options("False");
    options.Click("CmdChange");
    // A filter typed by hand is taken as typed.
    options.Fill(options.newLogs, "w.log", "mousepad --disable-server");
    options.Click("CmdChange");

    QCOMPARE(options.Listed(), QStringList{"new.log"});
    const LogSettings saved = options.Saved();
    QCOMPARE(saved.folder, options.newLogs);
    QCOMPARE(saved.filter, "w.log");
    QCOMPARE(saved.viewer, "mousepad --disable-server");
    QVERIFY(IniMod(options.dir.path()).Lock() == false);
}

void TestFrmOptions::SetTakesThePickedFolder()
{
    Options options("true");
    options.Click("CmdChange");
    options.asker.pickedFolder = "";
    options.Click("CmdSet");
    QCOMPARE(options.asker.pickTitle, "Browse for log folder...");
    QCOMPARE(options.Text1()->text(), options.oldLogs);
    options.asker.pickedFolder = options.newLogs;
    options.Click("CmdSet");
    QCOMPARE(options.Text1()->text(), options.newLogs);
}

QTEST_MAIN(TestFrmOptions)
#include "tst_frmoptions.moc"
