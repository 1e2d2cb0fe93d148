// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/autostart.h"
#include "config/jobtable.h"
#include "shared/clsini.h"
#include "shared/programfolder.h"
#include "support/messageboxanswerer.h"
#include "ui/frmoption.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString Stored(const QString& folder, const char* key)
{
    clsIni ini;
    ini.SetIniPath(ConfigDatPath(folder));
    return ini.GetIniSetting(QStringLiteral("Initial"), QLatin1String(key));
}

QRadioButton* Look(frmOption& dialog, int i)
{
    return dialog.findChild<QRadioButton*>(QStringLiteral("OptLook%1").arg(i));
}

int SelectedLook(frmOption& dialog)
{
    for (int i = 0; i < 3; ++i) {
        if (Look(dialog, i)->isChecked())
            return i;
    }
    return -1;
}

} // namespace

class TestFrmOption : public QObject
{
    Q_OBJECT

    QTemporaryDir m_configHome;
    QString AutostartPath() const { return AutostartEntryPath(m_configHome.path()); }

private Q_SLOTS:
    // The dialog must never touch the user's own autostart folder.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_configHome.path().toLocal8Bit()); }
    void cleanup() { QDir(m_configHome.path()).removeRecursively(); }
    void Controls();
    void Load_data();
    void Load();
    void SaveStoresBoth_data();
    void SaveStoresBoth();
    void CloseChangesNothing();
    void Autostart_data();
    void Autostart();
    void AutostartFailureSavesNothing();
    void Choices_data();
    void Choices();
    void TrashChoices_data();
    void TrashChoices();
    void FitsASmallScreen();
};

void TestFrmOption::Controls()
{
    JobTable table;
    frmOption dialog(table, QString());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Options"));
    QVERIFY(dialog.isModal());
    const QStringList captions{QStringLiteral("Date Created."), QStringLiteral("Date Last Modified."),
                               QStringLiteral("Date Last Accessed.")};
    // Each button stands for its date kind by itself (see SaveStoresBoth), not by a text tag.
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(Look(dialog, i)->text(), captions[i]);
        QVERIFY(!Look(dialog, i)->property("tag").isValid());
    }
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
             QStringLiteral("Purge Files or Folders by Date of:"));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("Specific Jobs:"));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Label3"))->text(),
             QStringLiteral("***  Jobs list will be saved automaticly after every task occurance."));
    QCOMPARE(dialog.findChild<QCheckBox*>(QStringLiteral("chkRemoveList"))->text(),
             QStringLiteral("Remove jobs from list after recurring."));
    QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("CmdOk"))->text(), QStringLiteral("Save"));
    QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("CmdClose"))->text(), QStringLiteral("Close"));
}

void TestFrmOption::Load_data()
{
    QTest::addColumn<QString>("lookPurgeBy");
    QTest::addColumn<QString>("deleteSpecific");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("checked");

    QTest::newRow("created") << "Date: Created"
                             << "0" << 0 << false;
    QTest::newRow("modified, remove") << "Date: Last Modified"
                                      << "1" << 1 << true;
    QTest::newRow("capitals") << "DATE: LAST ACCESSED"
                              << "1" << 2 << true;
    QTest::newRow("unknown kind") << "Date: Birthday"
                                  << "0" << -1 << false;
    QTest::newRow("empty option") << ""
                                  << "" << -1 << false;
    QTest::newRow("value 2") << "date: created"
                             << "2" << 0 << false;
    QTest::newRow("not a number") << "Date: Created"
                                  << "yes" << 0 << false;
}

void TestFrmOption::Load()
{
    QFETCH(QString, lookPurgeBy);
    QFETCH(QString, deleteSpecific);
    QFETCH(int, selected);
    QFETCH(bool, checked);

    JobTable table;
    table.SetOptions(lookPurgeBy, deleteSpecific);
    frmOption dialog(table, QString());
    QCOMPARE(SelectedLook(dialog), selected);
    QCOMPARE(dialog.findChild<QCheckBox*>(QStringLiteral("chkRemoveList"))->isChecked(), checked);
}

void TestFrmOption::SaveStoresBoth_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("choose");
    QTest::addColumn<bool>("check");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("deleteSpecific");

    QTest::newRow("choose created") << "Date: Last Modified" << 0 << false << "Date: Created"
                                    << "0";
    QTest::newRow("choose modified") << "Date: Created" << 1 << false << "Date: Last Modified"
                                     << "0";
    QTest::newRow("choose accessed, check") << "Date: Created" << 2 << true << "Date: Last Accessed"
                                            << "1";
    // No choice made: the unknown text stays and is stored all the same.
    QTest::newRow("nothing chosen") << "Date: Birthday" << -1 << true << "Date: Birthday"
                                    << "1";
    // Loaded without case, stored as the button's word.
    QTest::newRow("capitals become the word") << "DATE: CREATED" << -1 << false << "Date: Created"
                                              << "0";
}

void TestFrmOption::SaveStoresBoth()
{
    QFETCH(QString, before);
    QFETCH(int, choose);
    QFETCH(bool, check);
    QFETCH(QString, after);
    QFETCH(QString, deleteSpecific);

    QTemporaryDir dir;
    JobTable table;
    table.SetOptions(before, QStringLiteral("0"));
    QSignalSpy changed(&table, &JobTable::OptionsChanged);
    frmOption dialog(table, dir.path());
    if (choose >= 0)
        Look(dialog, choose)->click();
    dialog.findChild<QCheckBox*>(QStringLiteral("chkRemoveList"))->setChecked(check);
    dialog.findChild<QPushButton*>(QStringLiteral("CmdOk"))->click();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(table.LookPurgeBy().Text(), after);
    QCOMPARE(table.DeleteSpecific(), deleteSpecific);
    QCOMPARE(Stored(dir.path(), "LookPurgeBy"), after);
    QCOMPARE(Stored(dir.path(), "DeleteSpecific"), deleteSpecific);
}

void TestFrmOption::CloseChangesNothing()
{
    QTemporaryDir dir;
    JobTable table;
    table.SetOptions(QStringLiteral("Date: Last Modified"), QStringLiteral("0"));
    QSignalSpy changed(&table, &JobTable::OptionsChanged);
    frmOption dialog(table, dir.path());
    Look(dialog, 0)->click();
    dialog.findChild<QCheckBox*>(QStringLiteral("chkRemoveList"))->setChecked(true);
    dialog.findChild<QPushButton*>(QStringLiteral("CmdClose"))->click();

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(table.LookPurgeBy().Text(), QStringLiteral("Date: Last Modified"));
    QVERIFY(!QFileInfo::exists(ConfigDatPath(dir.path())));
}

void TestFrmOption::Autostart_data()
{
    QTest::addColumn<QByteArray>("before"); // empty: no entry
    QTest::addColumn<bool>("shownChecked");
    QTest::addColumn<bool>("check");

    const QByteArray ours = AutostartEntry(QStringLiteral("/usr/bin/scourwell"));
    QTest::newRow("switch on") << QByteArray() << false << true;
    QTest::newRow("switch off") << ours << true << false;
    QTest::newRow("hidden entry, switch on") << QByteArray("[Desktop Entry]\nHidden=true\n") << false << true;
    QTest::newRow("hidden entry, leave off")
        << QByteArray("[Desktop Entry]\nHidden=true\n") << false << false;
}

void TestFrmOption::Autostart()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, shownChecked);
    QFETCH(bool, check);

    if (!before.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(AutostartPath()).path()));
        QFile file(AutostartPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    QTemporaryDir dir;
    JobTable table;
    frmOption dialog(table, dir.path());
    auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("chkAutostart"));
    QCOMPARE(box->text(), QStringLiteral("Start Scourwell in the tray when I log in"));
    QCOMPARE(box->isChecked(), shownChecked);
    box->setChecked(check);
    dialog.findChild<QPushButton*>(QStringLiteral("CmdOk"))->click();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(IsAutostartEnabled(AutostartPath()), check);
    if (check) {
        QFile file(AutostartPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), AutostartEntry(QCoreApplication::applicationFilePath()));
    }
    // The choice lives in the entry only.
    QFile config(ConfigDatPath(dir.path()));
    QVERIFY(config.open(QIODevice::ReadOnly));
    QVERIFY(!config.readAll().contains("utostart"));
}

void TestFrmOption::AutostartFailureSavesNothing()
{
    QVERIFY(QDir().mkpath(m_configHome.path()));
    QFile blocker(m_configHome.filePath(QStringLiteral("autostart")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QTemporaryDir dir;
    JobTable table;
    table.SetOptions(QStringLiteral("Date: Last Modified"), QStringLiteral("0"));
    frmOption dialog(table, dir.path());
    dialog.show();
    Look(dialog, 0)->click();
    dialog.findChild<QCheckBox*>(QStringLiteral("chkAutostart"))->setChecked(true);
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    dialog.findChild<QPushButton*>(QStringLiteral("CmdOk"))->click();

    QCOMPARE(answerer.SeenBoxes().size(), size_t(1));
    QCOMPARE(answerer.SeenBoxes()[0].title, QStringLiteral("Error"));
    QCOMPARE(answerer.SeenBoxes()[0].icon, QMessageBox::Critical);
    QVERIFY(answerer.SeenBoxes()[0].text.contains(AutostartPath()));
    // Modal to the dialog only: the executors' Stop stays usable behind it.
    QCOMPARE(answerer.SeenBoxes()[0].modality, Qt::WindowModal);
    QVERIFY(dialog.isVisible());
    QCOMPARE(table.LookPurgeBy().Text(), QStringLiteral("Date: Last Modified"));
    QVERIFY(!QFileInfo::exists(ConfigDatPath(dir.path())));
}

// Each choice is shown from the table and saved into it and the file; the default leaves no key.
// Both enums count in the order of their buttons.
void TestFrmOption::Choices_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("choose");
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("stored");
    QTest::newRow("keep wait") << "Missed" << 0 << -1 << 0 << "";
    QTest::newRow("choose move on") << "Missed" << 0 << 1 << 1 << "MoveOn";
    QTest::newRow("choose run once") << "Missed" << 1 << 2 << 2 << "RunOnce";
    QTest::newRow("back to wait") << "Missed" << 2 << 0 << 0 << "";
    QTest::newRow("keep only deleted") << "Results" << 1 << -1 << 1 << "";
    QTest::newRow("choose every run") << "Results" << 1 << 0 << 0 << "Every";
    QTest::newRow("choose never") << "Results" << 0 << 2 << 2 << "Never";
    QTest::newRow("back to only deleted") << "Results" << 2 << 1 << 1 << "";
}

void TestFrmOption::Choices()
{
    QFETCH(QString, group);
    QFETCH(int, before);
    QFETCH(int, choose);
    QFETCH(int, after);
    QFETCH(QString, stored);
    const bool missedGroup = group == "Missed";
    const QStringList captions =
        missedGroup ? QStringList{"Wait for Adjust Date", "Move on to the next run", "Run once, then move on"}
                    : QStringList{"Every run", "Only runs that deleted something", "Never"};
    QTemporaryDir dir;
    JobTable table;
    auto chosen = [&] { return missedGroup ? int(table.MissedRunChoice()) : int(table.RunResultsChoice()); };
    if (missedGroup)
        table.SetMissedRunChoice(MissedRun(before));
    else
        table.SetRunResultsChoice(RunResults(before));
    frmOption dialog(table, dir.path());
    QCOMPARE(dialog.findChild<QLabel*>("Label" + group)->text(),
             missedGroup ? "When a scheduled run is missed:" : "When a run ends, tell me:");
    auto option = [&](int i) {
        return dialog.findChild<QRadioButton*>(QStringLiteral("Opt%1%2").arg(group).arg(i));
    };
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(option(i)->text(), captions[i]);
        QCOMPARE(option(i)->isChecked(), i == before);
    }
    if (choose >= 0)
        option(choose)->click();
    dialog.findChild<QPushButton*>(QStringLiteral("CmdOk"))->click();
    QCOMPARE(chosen(), after);
    QCOMPARE(Stored(dir.path(), missedGroup ? "MissedRun" : "RunResults"), stored);
}

// Both trash settings are shown from the table and saved into it and the file; the defaults
// leave no key, and an unticked emptying is stored as 0 (never).
void TestFrmOption::TrashChoices_data()
{
    QTest::addColumn<bool>("newJobsBefore");
    QTest::addColumn<int>("daysBefore");
    QTest::addColumn<bool>("emptyShown");
    QTest::addColumn<int>("daysShown");
    QTest::addColumn<bool>("newJobs");  // ticked before Save
    QTest::addColumn<bool>("empty");    // ticked before Save
    QTest::addColumn<int>("days");      // set before Save
    QTest::addColumn<int>("daysAfter"); // in the table
    QTest::addColumn<QString>("storedNew");
    QTest::addColumn<QString>("storedDays");
    QTest::newRow("defaults kept") << false << 30 << true << 30 << false << true << 30 << 30 << ""
                                   << "";
    QTest::newRow("new jobs to the trash") << false << 30 << true << 30 << true << true << 30 << 30 << "1"
                                           << "";
    QTest::newRow("back to deleting") << true << 30 << true << 30 << false << true << 30 << 30 << ""
                                      << "";
    QTest::newRow("a week") << false << 30 << true << 30 << false << true << 7 << 7 << ""
                            << "7";
    QTest::newRow("never") << false << 30 << true << 30 << false << false << 30 << 0 << ""
                           << "0";
    QTest::newRow("never shows the default days")
        << false << 0 << false << 30 << false << false << 30 << 0 << ""
        << "0";
    QTest::newRow("ticked again") << false << 0 << false << 30 << false << true << 30 << 30 << ""
                                  << "";
    QTest::newRow("most days") << false << 30 << true << 30 << false << true << 90 << 90 << ""
                               << "90";
    QTest::newRow("beyond the most is the most")
        << false << 30 << true << 30 << false << true << 400 << 90 << ""
        << "90";
}

void TestFrmOption::TrashChoices()
{
    QFETCH(bool, newJobsBefore);
    QFETCH(int, daysBefore);
    QFETCH(bool, emptyShown);
    QFETCH(int, daysShown);
    QFETCH(bool, newJobs);
    QFETCH(bool, empty);
    QFETCH(int, days);
    QFETCH(int, daysAfter);
    QFETCH(QString, storedNew);
    QFETCH(QString, storedDays);
    QTemporaryDir dir;
    JobTable table;
    table.SetNewJobsMoveToTrash(newJobsBefore);
    table.SetTrashDays(daysBefore);
    frmOption dialog(table, dir.path());
    auto* newJobsBox = dialog.findChild<QCheckBox*>(QStringLiteral("chkTrashNewJobs"));
    auto* emptyBox = dialog.findChild<QCheckBox*>(QStringLiteral("chkEmptyTrash"));
    auto* daysBox = dialog.findChild<QSpinBox*>(QStringLiteral("spinTrashDays"));
    QCOMPARE(newJobsBox->text(), QStringLiteral("Move to the Trash instead of deleting, for new jobs"));
    QCOMPARE(emptyBox->text(), QStringLiteral("Empty what Scourwell moved to the Trash after"));
    QCOMPARE(newJobsBox->isChecked(), newJobsBefore);
    QCOMPARE(emptyBox->isChecked(), emptyShown);
    QCOMPARE(daysBox->isEnabled(), emptyShown);
    QCOMPARE(daysBox->value(), daysShown);
    newJobsBox->setChecked(newJobs);
    emptyBox->setChecked(empty);
    QCOMPARE(daysBox->isEnabled(), empty);
    daysBox->setValue(days);
    dialog.findChild<QPushButton*>(QStringLiteral("CmdOk"))->click();
    QCOMPARE(table.NewJobsMoveToTrash(), newJobs);
    QCOMPARE(table.TrashDays(), daysAfter);
    QCOMPARE(Stored(dir.path(), "NewJobsMoveToTrash"), storedNew);
    QCOMPARE(Stored(dir.path(), "TrashDays"), storedDays);
}

// Two columns keep the dialog within a screen of 500 pixels' height, title bar included.
void TestFrmOption::FitsASmallScreen()
{
    JobTable table;
    frmOption dialog(table, QString());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY2(dialog.height() <= 460, QByteArray::number(dialog.height()).constData());
}

QTEST_MAIN(TestFrmOption)
#include "tst_frmoption.moc"
