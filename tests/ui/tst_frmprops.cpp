// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobtable.h"
#include "support/messageboxanswerer.h"
#include "support/mockclock.h"
#include "support/purgetestfiles.h"
#include "ui/frmprops.h"
#include "ui/previewwindow.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

namespace {

const QDateTime Present(QDate(2026, 6, 15), QTime(10, 0, 20));

template <typename W> W* Find(const QWidget& dialog, const char* name)
{
    auto* w = dialog.findChild<W*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

QStringList Items(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

JobRow Row(const QString& folder)
{
    JobRow row;
    row.FolderLoc = folder;
    return row;
}

} // namespace

class TestFrmProps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void DefaultsInAddMode();
    void OptionRuleInEditMode();
    void TrashCheckbox_data();
    void TrashCheckbox();
    void OkRefuses_data();
    void OkRefuses();
    void OkAccepts_data();
    void OkAccepts();
    void PreviewOfTheJobAsEntered_data();
    void PreviewOfTheJobAsEntered();
    void LiveClockFollowsUntilTheUserChangesTheTime();
    void LiveClockStopsAtTheFirstTouch_data();
    void LiveClockStopsAtTheFirstTouch();
    void FocusStartsInTheFolder();
    void ReturnAndEscapeFromEveryField_data();
    void ReturnAndEscapeFromEveryField();
    void NoLiveClockInEditMode();
    void KeyOnTheDialogItselfCloses();
    void TabKeysFromEveryField_data();
    void TabKeysFromEveryField();
    void BrowseCancelKeepsThePath();
    void DescriptionLimit();
    void LongerStoredDescriptionIsKept();

private:
    QString Listed() const { return m_dir.filePath(QStringLiteral("Data")); }

    QTemporaryDir m_dir;
    MockClock m_clock{Present};
};

void TestFrmProps::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("Data")));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("data")));
    for (const char* name : {"line\nbreak", "return\r", " blanks\t"})
        QVERIFY(QDir(m_dir.path()).mkdir(QString::fromUtf8(name)));
    QFile file(m_dir.filePath(QStringLiteral("plain.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void TestFrmProps::DefaultsInAddMode()
{
    JobTable table;
    frmProps dialog(table, m_clock, {});
    dialog.show();

    QVERIFY(Find<QRadioButton>(dialog, "OptPurge0")->isChecked());
    QVERIFY(!Find<QRadioButton>(dialog, "OptPurge1")->isChecked());
    QCOMPARE(Find<QLineEdit>(dialog, "txtLocation")->text(), QString());

    const QStringList units{"Minute", "Hour", "Day", "Month"};
    auto* purge1 = Find<QComboBox>(dialog, "cmbPurgeCondition1");
    QCOMPARE(purge1->count(), 365);
    QCOMPARE(purge1->itemText(364), QStringLiteral("365"));
    QCOMPARE(purge1->currentText(), QStringLiteral("1"));
    auto* purge2 = Find<QComboBox>(dialog, "cmbPurgeCondition2");
    QCOMPARE(Items(purge2), units);
    QCOMPARE(purge2->currentText(), QStringLiteral("Day"));
    auto* style = Find<QComboBox>(dialog, "cmbFileFolder");
    QCOMPARE(Items(style), (QStringList{"Files Only", "Include Files in Subfolders", "Subfolders Only"}));
    QCOMPARE(style->currentText(), QStringLiteral("Files Only"));
    auto* every1 = Find<QComboBox>(dialog, "cmbRoutineValue1");
    QCOMPARE(every1->count(), 60);
    QCOMPARE(every1->itemText(59), QStringLiteral("60"));
    QCOMPARE(every1->currentText(), QStringLiteral("1"));
    QVERIFY(every1->isEnabled());
    auto* every2 = Find<QComboBox>(dialog, "cmbRoutineValue2");
    QCOMPARE(Items(every2), units);
    QCOMPARE(every2->currentText(), QStringLiteral("Day"));

    auto* date = Find<QDateEdit>(dialog, "DatePicker");
    QCOMPARE(date->date(), Present.date());
    QCOMPARE(date->displayFormat(), QStringLiteral("dd, MMM, yyyy"));
    QCOMPARE(date->minimumDate(), QDate(2000, 1, 1));
    QCOMPARE(date->maximumDate(), QDate(3000, 12, 31));
    QCOMPARE(Find<QTimeEdit>(dialog, "TimePicker")->time(), Present.time());

    auto* adjust = Find<QCheckBox>(dialog, "CheckAdjust");
    QVERIFY(adjust->isHidden());
    QVERIFY(!adjust->isChecked());
    QCOMPARE(Find<QPlainTextEdit>(dialog, "TxtDesc")->toPlainText(), QString());
    QVERIFY(!dialog.findChild<QLabel*>(QStringLiteral("LabelIndex")));
    auto* timer = Find<QTimer>(dialog, "Timer1");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 999);
    QCOMPARE(dialog.CurrentMode(), frmProps::Mode::AddNew);
    QVERIFY(!dialog.property("tag").isValid());
}

void TestFrmProps::OptionRuleInEditMode()
{
    JobTable table;
    frmProps dialog(table, m_clock, {});
    dialog.SetMode(frmProps::Mode::EditCurrent);
    dialog.show();
    auto* adjust = Find<QCheckBox>(dialog, "CheckAdjust");
    QVERIFY(!adjust->isHidden());
    adjust->setChecked(true);

    QTest::mouseClick(Find<QRadioButton>(dialog, "OptPurge1"), Qt::LeftButton);
    QVERIFY(!Find<QComboBox>(dialog, "cmbRoutineValue1")->isEnabled());
    QVERIFY(!Find<QComboBox>(dialog, "cmbRoutineValue2")->isEnabled());
    QVERIFY(Find<QDateEdit>(dialog, "DatePicker")->isEnabled());
    QVERIFY(Find<QTimeEdit>(dialog, "TimePicker")->isEnabled());
    QVERIFY(!adjust->isEnabled());
    QVERIFY(adjust->isChecked());
    QCOMPARE(dialog.Values().kind, ScheduleKind::Specific);

    QTest::mouseClick(Find<QRadioButton>(dialog, "OptPurge0"), Qt::LeftButton);
    QVERIFY(Find<QComboBox>(dialog, "cmbRoutineValue1")->isEnabled());
    QVERIFY(Find<QComboBox>(dialog, "cmbRoutineValue2")->isEnabled());
    QVERIFY(adjust->isEnabled());
    QCOMPARE(dialog.Values().kind, ScheduleKind::Routine);
}

// Add mode ticks the box as the Options default says, edit mode as the job says, and Values
// carries what the box shows.
void TestFrmProps::TrashCheckbox_data()
{
    QTest::addColumn<bool>("editMode");
    QTest::addColumn<bool>("newJobsDefault");
    QTest::addColumn<bool>("jobSetting");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("click");

    QTest::newRow("add, default off") << false << false << false << false << false;
    QTest::newRow("add, default on") << false << true << false << true << false;
    QTest::newRow("add, default on, unticked") << false << true << false << true << true;
    QTest::newRow("edit, job deletes, default on") << true << true << false << false << false;
    QTest::newRow("edit, job trashes, default off") << true << false << true << true << false;
    QTest::newRow("edit, job trashes, unticked") << true << false << true << true << true;
    QTest::newRow("edit, job deletes, ticked") << true << false << false << false << true;
}

void TestFrmProps::TrashCheckbox()
{
    QFETCH(bool, editMode);
    QFETCH(bool, newJobsDefault);
    QFETCH(bool, jobSetting);
    QFETCH(bool, shown);
    QFETCH(bool, click);

    JobTable table;
    table.SetNewJobsMoveToTrash(newJobsDefault);
    frmProps dialog(table, m_clock, {});
    if (editMode) {
        dialog.SetMode(frmProps::Mode::EditCurrent);
        JobRow row = Row(m_dir.path());
        row.MoveToTrash = jobSetting;
        dialog.FillFromRow(row);
    }
    dialog.show();
    auto* box = Find<QCheckBox>(dialog, "CheckTrash");
    QCOMPARE(box->text(), QStringLiteral("Move to the Trash instead of deleting"));
    QVERIFY(box->isVisible());
    QCOMPARE(box->isChecked(), shown);
    if (click)
        QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(dialog.Values().moveToTrash, std::optional<bool>(shown != click));
}

void TestFrmProps::OkRefuses_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");

    const QString missing = m_dir.filePath(QStringLiteral("missing"));
    // Preview refuses a folder that Ok refuses, but for one already listed: that job may be
    // looked at again.
    for (const char* button : {"CmdOk", "CmdPreview"}) {
        const auto row = [button](const char* name) { return &QTest::addRow("%s: %s", button, name); };
        *row("empty") << button << QString() << "Folder Location Path is empty!  ";
        *row("one blank is not empty") << button << " "
                                       << "Cannot find the Folder Location Path!  ";
        *row("missing folder") << button << missing << "Cannot find the Folder Location Path!  ";
        *row("relative path") << button << "."
                              << "Cannot find the Folder Location Path!  ";
        *row("root") << button << "/"
                     << "Folder Location Path cannot be the root of the file system!  ";
        *row("root by another name") << button << "/tmp/.."
                                     << "Folder Location Path cannot be the root of the file system!  ";
        // The file could not keep the name: after a restart the job would name another folder.
        *row("line feed") << button << m_dir.filePath(QStringLiteral("line\nbreak"))
                          << "Folder Location Path cannot hold a line break!  ";
        *row("carriage return") << button << m_dir.filePath(QStringLiteral("return\r"))
                                << "Folder Location Path cannot hold a line break!  ";
    }
    QTest::newRow("CmdOk: already listed") << "CmdOk" << Listed() << "Folder is already being in the list!  ";
}

void TestFrmProps::OkRefuses()
{
    QFETCH(QString, button);
    QFETCH(QString, path);
    QFETCH(QString, message);

    JobTable table;
    table.Append(Row(Listed()));
    frmProps dialog(table, m_clock, {});
    dialog.show();
    Find<QLineEdit>(dialog, "txtLocation")->setText(path);

    MessageBoxAnswerer answerer(QMessageBox::Ok);
    QTest::mouseClick(Find<QPushButton>(dialog, button.toLatin1().constData()), Qt::LeftButton);
    QCOMPARE(answerer.SeenBoxes().size(), size_t(1));
    QVERIFY(!dialog.findChild<PreviewWindow*>());
    const auto& box = answerer.SeenBoxes().front();
    QCOMPARE(box.text, message);
    QCOMPARE(box.title, QStringLiteral("Error"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(dialog.isVisible());
    QCOMPARE(Find<QLineEdit>(dialog, "txtLocation")->text(), path);
}

void TestFrmProps::OkAccepts_data()
{
    QTest::addColumn<bool>("editMode");
    QTest::addColumn<QString>("path");

    QTest::newRow("a file passes as a folder") << false << m_dir.filePath(QStringLiteral("plain.txt"));
    QTest::newRow("listed folder in edit mode") << true << Listed();
    QTest::newRow("listed folder with a trailing slash") << false << Listed() + QLatin1Char('/');
    QTest::newRow("listed folder in another letter case") << false << m_dir.filePath(QStringLiteral("data"));
    QTest::newRow("blanks at the ends") << false << m_dir.filePath(QStringLiteral(" blanks\t"));
}

void TestFrmProps::OkAccepts()
{
    QFETCH(bool, editMode);
    QFETCH(QString, path);

    JobTable table;
    table.Append(Row(Listed()));
    frmProps dialog(table, m_clock, {});
    if (editMode)
        dialog.SetMode(frmProps::Mode::EditCurrent);
    dialog.show();
    Find<QLineEdit>(dialog, "txtLocation")->setText(path);

    MessageBoxAnswerer answerer(QMessageBox::Ok);
    QTest::mouseClick(Find<QPushButton>(dialog, "CmdOk"), Qt::LeftButton);
    QVERIFY(answerer.SeenBoxes().empty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Values().folder, path);
}

void TestFrmProps::PreviewOfTheJobAsEntered_data()
{
    QTest::addColumn<bool>("editMode");
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("protectTen");
    QTest::addColumn<QStringList>("names");

    // The folder holds files of 2 and 10 days and a subfolder of 10 days; the row being edited
    // says 5 Days, Files Only, but the editor's fields are what counts.
    QTest::newRow("add: 5 days") << false << "5"
                                 << "Files Only" << false << QStringList{"ten"};
    QTest::newRow("add: 1 day") << false << "1"
                                << "Files Only" << false << QStringList{"ten", "two"};
    QTest::newRow("edit: changed to 1 day, unsaved") << true << "1"
                                                     << "Files Only" << false << QStringList{"ten", "two"};
    QTest::newRow("edit: changed to subfolders") << true << "5"
                                                 << "Subfolders Only" << false << QStringList{"sub"};
    QTest::newRow("changed to files in subfolders")
        << true << "1"
        << "Include Files in Subfolders" << false << QStringList{"sub/inner"};
    QTest::newRow("a program file stays") << false << "1"
                                          << "Files Only" << true << QStringList{"two"};
}

// Preview opens a list of the job as entered, not as saved, with the program's files left out;
// the editor stays open, and there is no Run Now for a job not saved.
void TestFrmProps::PreviewOfTheJobAsEntered()
{
    QFETCH(bool, editMode);
    QFETCH(QString, threshold);
    QFETCH(QString, style);
    QFETCH(bool, protectTen);
    QFETCH(QStringList, names);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QDateTime present = QDateTime::currentDateTime();
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    MakeFile(folder.filePath(QStringLiteral("two")), present.addDays(-2));
    MakeFile(folder.filePath(QStringLiteral("ten")), present.addDays(-10));
    MakeFile(folder.filePath(QStringLiteral("sub/inner")), present.addDays(-10));
    SetModified(folder.filePath(QStringLiteral("sub")), present.addDays(-10));

    JobTable table;
    JobRow row = Row(folder.path());
    row.ValPurge = QStringLiteral("5");
    row.ValOfPurge = StoredWord<TimeUnit>(QStringLiteral("Day"));
    row.FileFolderStyle = StoredWord<PurgeStyle>(QStringLiteral("Files Only"));
    table.Append(row);
    table.SetOptions(QStringLiteral("Date: Last Modified"), QStringLiteral("1"));
    MockClock clock(present);
    QStringList programFiles;
    if (protectTen)
        programFiles << folder.filePath(QStringLiteral("ten"));
    frmProps dialog(table, clock, programFiles);
    if (editMode) {
        dialog.SetMode(frmProps::Mode::EditCurrent);
        dialog.FillFromRow(table.Row(0));
    } else {
        Find<QLineEdit>(dialog, "txtLocation")->setText(folder.path());
    }
    dialog.show();
    Find<QComboBox>(dialog, "cmbPurgeCondition1")->setCurrentText(threshold);
    Find<QComboBox>(dialog, "cmbFileFolder")->setCurrentText(style);

    MessageBoxAnswerer answerer(QMessageBox::Ok);
    QTest::mouseClick(Find<QPushButton>(dialog, "CmdPreview"), Qt::LeftButton);
    auto* preview = dialog.findChild<PreviewWindow*>();
    QVERIFY(preview);
    QVERIFY(preview->isVisible());
    QTRY_VERIFY(preview->IsFinished());
    QVERIFY(answerer.SeenBoxes().empty());
    QVERIFY(dialog.isVisible());
    QVERIFY(!Find<QPushButton>(*preview, "CmdRunNow")->isVisible());

    const QAbstractItemModel* model = Find<QAbstractItemView>(*preview, "PreviewList")->model();
    QStringList listed;
    for (int i = 0; i < model->rowCount(); ++i)
        listed << QDir(folder.path()).relativeFilePath(model->index(i, PreviewModel::Path).data().toString());
    listed.sort();
    QCOMPARE(listed, names);
}

void TestFrmProps::LiveClockFollowsUntilTheUserChangesTheTime()
{
    JobTable table;
    MockClock clock(Present);
    frmProps dialog(table, clock, {});
    dialog.show();
    auto* picker = Find<QTimeEdit>(dialog, "TimePicker");

    clock.Set(Present.addSecs(7));
    QTRY_COMPARE_WITH_TIMEOUT(picker->time(), Present.addSecs(7).time(), 3000);
    QVERIFY(Find<QTimer>(dialog, "Timer1")->isActive());

    // The user steps the time picker: the clock stops for good.
    picker->setFocus();
    picker->setCurrentSection(QDateTimeEdit::HourSection);
    QTest::keyClick(picker, Qt::Key_Up);
    const QTime chosen = picker->time();
    QCOMPARE(chosen, Present.addSecs(7 + 3600).time());
    QVERIFY(!Find<QTimer>(dialog, "Timer1")->isActive());
    clock.Set(Present.addSecs(30));
    QTest::qWait(1200);
    QCOMPARE(picker->time(), chosen);
}

void TestFrmProps::LiveClockStopsAtTheFirstTouch_data()
{
    QTest::addColumn<bool>("click");
    QTest::newRow("a digit typed into the hours") << false;
    QTest::newRow("a click into the time") << true;
}

void TestFrmProps::LiveClockStopsAtTheFirstTouch()
{
    QFETCH(bool, click);

    JobTable table;
    MockClock clock(Present);
    frmProps dialog(table, clock, {});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* picker = Find<QTimeEdit>(dialog, "TimePicker");
    Find<QTabWidget>(dialog, "SSTab1")->setCurrentIndex(1);
    picker->setFocus();
    if (click) {
        QTest::mouseClick(picker->findChild<QLineEdit*>(), Qt::LeftButton);
    } else {
        picker->setCurrentSection(QDateTimeEdit::HourSection);
        // Half a time: the hour is not complete yet, so the picker reports no change.
        QTest::keyClick(picker, Qt::Key_1);
    }
    const QString typed = picker->text();

    clock.Set(Present.addSecs(3600 * 3 + 17));
    QTest::qWait(1200);
    QVERIFY(!Find<QTimer>(dialog, "Timer1")->isActive());
    QCOMPARE(picker->text(), typed);
}

void TestFrmProps::FocusStartsInTheFolder()
{
    JobTable table;
    frmProps dialog(table, m_clock, {});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("/srv"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(Find<QLineEdit>(dialog, "txtLocation")->text(), QStringLiteral("/srv"));
}

void TestFrmProps::ReturnAndEscapeFromEveryField_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("message");

    const int accepted = QDialog::Accepted;
    const int rejected = QDialog::Rejected;
    for (const char* control :
         {"txtLocation", "cmbPurgeCondition1", "cmbPurgeCondition2", "cmbFileFolder", "CheckTrash",
          "OptPurge0", "cmbRoutineValue1", "cmbRoutineValue2", "DatePicker", "TimePicker"}) {
        const QString name = QString::fromLatin1(control);
        QTest::addRow("Return in %s", control)
            << name << m_dir.path() << int(Qt::Key_Return) << accepted << QString();
        QTest::addRow("Escape in %s", control)
            << name << m_dir.path() << int(Qt::Key_Escape) << rejected << QString();
    }
    QTest::newRow("Return runs the checks")
        << "TimePicker" << QString() << int(Qt::Key_Return) << rejected << "Folder Location Path is empty!  ";
    QTest::newRow("Return on Close closes")
        << "CmdClose" << m_dir.path() << int(Qt::Key_Return) << rejected << QString();
}

void TestFrmProps::ReturnAndEscapeFromEveryField()
{
    QFETCH(QString, control);
    QFETCH(QString, path);
    QFETCH(int, key);
    QFETCH(int, result);
    QFETCH(QString, message);

    JobTable table;
    frmProps dialog(table, m_clock, {});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    Find<QLineEdit>(dialog, "txtLocation")->setText(path);
    auto* field = Find<QWidget>(dialog, control.toLatin1().constData());
    auto* tabs = Find<QTabWidget>(dialog, "SSTab1");
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->widget(i)->isAncestorOf(field))
            tabs->setCurrentIndex(i);
    }
    field->setFocus();
    QCOMPARE(QApplication::focusWidget(), field);

    MessageBoxAnswerer answerer(QMessageBox::Ok);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(answerer.SeenBoxes().size(), size_t(message.isEmpty() ? 0 : 1));
    if (!message.isEmpty())
        QCOMPARE(answerer.SeenBoxes().front().text, message);
    QCOMPARE(dialog.isVisible(), !message.isEmpty());
    if (message.isEmpty())
        QCOMPARE(dialog.result(), result);
}

void TestFrmProps::NoLiveClockInEditMode()
{
    JobTable table;
    frmProps dialog(table, m_clock, {});
    dialog.SetMode(frmProps::Mode::EditCurrent);
    dialog.show();
    QVERIFY(!Find<QTimer>(dialog, "Timer1")->isActive());
    // With no option selected by the opener, activation selects none either.
    QVERIFY(!Find<QRadioButton>(dialog, "OptPurge0")->isChecked());
    QVERIFY(!Find<QRadioButton>(dialog, "OptPurge1")->isChecked());
    QCOMPARE(dialog.Values().kind, std::nullopt);
}

void TestFrmProps::KeyOnTheDialogItselfCloses()
{
    JobTable table;
    frmProps dialog(table, m_clock, {});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    dialog.focusWidget()->clearFocus();
    QTest::keyClick(&dialog, Qt::Key_A);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestFrmProps::TabKeysFromEveryField_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("step");

    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    for (const char* control :
         {"txtLocation", "cmdBrowse", "cmbPurgeCondition1", "cmbPurgeCondition2", "cmbFileFolder",
          "CheckTrash", "OptPurge0", "OptPurge1", "cmbRoutineValue1", "cmbRoutineValue2", "DatePicker",
          "TimePicker", "CheckAdjust", "TxtDesc", "CmdOk", "CmdClose"}) {
        QTest::addRow("Ctrl+Tab in %s", control) << control << int(Qt::Key_Tab) << ctrl << 1;
        QTest::addRow("Ctrl+Shift+Tab in %s", control) << control << int(Qt::Key_Backtab) << ctrlShift << -1;
        QTest::addRow("Ctrl+PgDn in %s", control) << control << int(Qt::Key_PageDown) << ctrl << 1;
        QTest::addRow("Ctrl+PgUp in %s", control) << control << int(Qt::Key_PageUp) << ctrl << -1;
    }
    // Without Ctrl the keys stay the field's own.
    QTest::newRow("PgDn in cmbFileFolder") << "cmbFileFolder" << int(Qt::Key_PageDown) << 0 << 0;
}

// The tab keys switch tabs from every field, around the ends, and change no value on the way.
void TestFrmProps::TabKeysFromEveryField()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, step);

    JobTable table;
    frmProps dialog(table, m_clock, {});
    dialog.SetMode(frmProps::Mode::EditCurrent);
    JobRow row = Row(m_dir.path());
    row.ValPurge = QStringLiteral("30");
    row.ValOfPurge = TimeUnit::Month;
    row.FileFolderStyle = PurgeStyle::IncludeFilesInSubfolders;
    row.Style = ScheduleKind::Routine;
    row.ValEvery = QStringLiteral("2");
    row.ValOfEvery = TimeUnit::Hour;
    row.NextRun = QStringLiteral("12/25/2026 10:30 PM");
    row.Description = QStringLiteral("kept as it is");
    dialog.FillFromRow(row);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* field = Find<QWidget>(dialog, control.toLatin1().constData());
    auto* tabs = Find<QTabWidget>(dialog, "SSTab1");
    int start = 0;
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->widget(i)->isAncestorOf(field))
            start = i;
    }
    tabs->setCurrentIndex(start);
    field->setFocus();
    QCOMPARE(QApplication::focusWidget(), field);
    const JobEditValues before = dialog.Values();

    QTest::keyClick(field, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(tabs->currentIndex(), (start + step + tabs->count()) % tabs->count());
    QVERIFY(dialog.isVisible());
    const JobEditValues after = dialog.Values();
    if (step == 0) {
        QVERIFY(after.fileFolderStyle != before.fileFolderStyle);
        return;
    }
    QCOMPARE(after.folder, before.folder);
    QCOMPARE(after.valPurge, before.valPurge);
    QCOMPARE(after.valOfPurge, before.valOfPurge);
    QCOMPARE(after.fileFolderStyle, before.fileFolderStyle);
    QCOMPARE(after.kind, before.kind);
    QCOMPARE(after.valEvery, before.valEvery);
    QCOMPARE(after.valOfEvery, before.valOfEvery);
    QCOMPARE(after.picked, before.picked);
    QCOMPARE(after.adjust, before.adjust);
    QCOMPARE(after.description, before.description);
}

void TestFrmProps::BrowseCancelKeepsThePath()
{
    JobTable table;
    frmProps dialog(table, m_clock, {});
    dialog.show();
    Find<QLineEdit>(dialog, "txtLocation")->setText(QStringLiteral("typed before"));

    QString title;
    QTimer::singleShot(50, [&title] {
        auto* browser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(browser);
        title = browser->windowTitle();
        browser->reject();
    });
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdBrowse"), Qt::LeftButton);
    QCOMPARE(title, QStringLiteral("Set for purge folder..."));
    QCOMPARE(Find<QLineEdit>(dialog, "txtLocation")->text(), QStringLiteral("typed before"));
}

void TestFrmProps::DescriptionLimit()
{
    JobTable table;
    frmProps dialog(table, m_clock, {});
    dialog.show();
    auto* desc = Find<QPlainTextEdit>(dialog, "TxtDesc");
    desc->setFocus();

    QTest::keyClicks(desc, QString(250, QLatin1Char('a')));
    QTest::keyClicks(desc, QString(10, QLatin1Char('b')));
    QCOMPARE(desc->toPlainText(), QString(250, QLatin1Char('a')) + QString(6, QLatin1Char('b')));

    // Typing in the middle of a full remark changes nothing.
    QTextCursor cursor = desc->textCursor();
    cursor.setPosition(10);
    desc->setTextCursor(cursor);
    QTest::keyClicks(desc, QStringLiteral("x"));
    QCOMPARE(desc->toPlainText().size(), 256);
    QVERIFY(!desc->toPlainText().contains(QLatin1Char('x')));

    // A paste keeps only what fits, from its start.
    desc->clear();
    desc->insertPlainText(QString(200, QLatin1Char('a')));
    desc->insertPlainText(QString(100, QLatin1Char('c')));
    QCOMPARE(desc->toPlainText(), QString(200, QLatin1Char('a')) + QString(56, QLatin1Char('c')));
    QCOMPARE(dialog.Values().description.size(), frmProps::MaxDescription);
}

void TestFrmProps::LongerStoredDescriptionIsKept()
{
    JobTable table;
    frmProps dialog(table, m_clock, {});
    dialog.SetMode(frmProps::Mode::EditCurrent);
    JobRow row = Row(m_dir.path());
    row.Description = QString(300, QLatin1Char('d'));
    dialog.FillFromRow(row);
    dialog.show();
    auto* desc = Find<QPlainTextEdit>(dialog, "TxtDesc");
    QCOMPARE(desc->toPlainText().size(), 300);

    desc->setFocus();
    desc->moveCursor(QTextCursor::End);
    QTest::keyClicks(desc, QStringLiteral("more"));
    QCOMPARE(desc->toPlainText(), QString(300, QLatin1Char('d')));
    QTest::keyClick(desc, Qt::Key_Backspace);
    QCOMPARE(desc->toPlainText().size(), 299);
}

QTEST_MAIN(TestFrmProps)
#include "tst_frmprops.moc"
