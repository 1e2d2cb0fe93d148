// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobtable.h"
#include "config/runtime.h"
#include "support/jobrows.h"
#include "support/messageboxanswerer.h"
#include "support/mockclock.h"
#include "support/zone.h"
#include "ui/frmprops.h"
#include "ui/jobeditorflow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <functional>

namespace {

template <typename W> W* Find(const QWidget& dialog, const char* name)
{
    auto* w = dialog.findChild<W*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

// Acts on the job properties dialog as soon as the flow has it open, from the event loop;
// records whether it ever opened.
class DialogDriver : public QObject
{
public:
    explicit DialogDriver(std::function<void(frmProps&)> action) : m_action(std::move(action))
    {
        connect(&m_timer, &QTimer::timeout, this, &DialogDriver::Poll);
        m_timer.start(10);
    }
    bool Opened() const { return m_opened; }

private:
    void Poll()
    {
        auto* dialog = qobject_cast<frmProps*>(QApplication::activeModalWidget());
        if (!dialog || m_opened)
            return;
        m_opened = true;
        m_timer.stop();
        m_action(*dialog);
    }

    std::function<void(frmProps&)> m_action;
    QTimer m_timer;
    bool m_opened = false;
};

void ClickOk(frmProps& dialog)
{
    QTest::mouseClick(Find<QPushButton>(dialog, "CmdOk"), Qt::LeftButton);
}

void Pick(frmProps& dialog, const QDateTime& t)
{
    Find<QDateEdit>(dialog, "DatePicker")->setDate(t.date());
    Find<QTimeEdit>(dialog, "TimePicker")->setTime(t.time());
}

JobRow MakeRow(const QString& folder, const QString& style, const QString& nextRun,
               RowIcon icon = RowIcon::Enabled)
{
    return RowOf({.folder = folder,
                  .nextRun = nextRun,
                  .status = StatusOf(icon),
                  .valPurge = QStringLiteral("12"),
                  .valOfPurge = QStringLiteral("Month"),
                  .style = style,
                  .fileFolderStyle = QStringLiteral("Include Files in Subfolders"),
                  .valEvery = QStringLiteral("15"),
                  .valOfEvery = QStringLiteral("Minute"),
                  .description = QStringLiteral("keep it tidy")},
                 icon);
}

} // namespace

class TestJobEditorFlow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void AddOpensAtTheDefaults();
    void AddWritesTheStart_data();
    void AddWritesTheStart();
    void EditFillsFromTheRow_data();
    void EditFillsFromTheRow();
    void EditWrites_data();
    void EditWrites();
    void EditWithoutAStyleKeepsIt();
    void EditWithoutSelectionDoesNothing();
    void EditOfARowRemovedMeanwhile();

private:
    QString Folder(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_dir;
    QWidget m_main;
};

void TestJobEditorFlow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const char* name : {"a", "b", "c"})
        QVERIFY(QDir(m_dir.path()).mkdir(QString::fromLatin1(name)));
    m_main.show();
}

void TestJobEditorFlow::AddOpensAtTheDefaults()
{
    JobTable table;
    table.Append(MakeRow(Folder("a"), QStringLiteral("Routine"), QStringLiteral("06/20/2026 10:00 AM")));
    MockClock clock(At(QStringLiteral("06/15/2026 10:00 AM")));

    QString title;
    bool adjustShown = true;
    DialogDriver driver([&](frmProps& dialog) {
        title = dialog.windowTitle();
        QCOMPARE(dialog.CurrentMode(), frmProps::Mode::AddNew);
        QCOMPARE(dialog.EditedId(), quint64(0));
        adjustShown = !Find<QCheckBox>(dialog, "CheckAdjust")->isHidden();
        QCOMPARE(dialog.parentWidget(), &m_main);
        QVERIFY(dialog.isModal());
        Find<QPushButton>(dialog, "CmdClose")->click();
    });
    mnuAdd_Click(table, &m_main, clock, {});
    QVERIFY(driver.Opened());
    QCOMPARE(title, QStringLiteral("Add New Purge Job"));
    QVERIFY(!adjustShown);
}

void TestJobEditorFlow::AddWritesTheStart_data()
{
    QTest::addColumn<bool>("routine");
    QTest::addColumn<QDateTime>("picked");
    QTest::addColumn<QString>("nextRun");

    QTest::newRow("routine hourly, earlier time today")
        << true << At(QStringLiteral("06/15/2026 09:00 AM")) << "06/15/2026 11:00 AM";
    QTest::newRow("specific, tomorrow at an earlier time")
        << false << At(QStringLiteral("06/16/2026 08:00 AM")) << "06/16/2026 10:00 AM";
}

void TestJobEditorFlow::AddWritesTheStart()
{
    QFETCH(bool, routine);
    QFETCH(QDateTime, picked);
    QFETCH(QString, nextRun);

    JobTable table;
    MockClock clock(At(QStringLiteral("06/15/2026 10:00 AM")).addSecs(31));
    DialogDriver driver([&](frmProps& dialog) {
        Find<QLineEdit>(dialog, "txtLocation")->setText(Folder("b"));
        Find<QComboBox>(dialog, "cmbPurgeCondition1")->setCurrentText(QStringLiteral("45"));
        Find<QComboBox>(dialog, "cmbPurgeCondition2")->setCurrentText(QStringLiteral("Minute"));
        Find<QComboBox>(dialog, "cmbFileFolder")->setCurrentText(QStringLiteral("Subfolders Only"));
        Find<QComboBox>(dialog, "cmbRoutineValue2")->setCurrentText(QStringLiteral("Hour"));
        Find<QRadioButton>(dialog, routine ? "OptPurge0" : "OptPurge1")->click();
        Find<QPlainTextEdit>(dialog, "TxtDesc")->setPlainText(QStringLiteral("nightly"));
        Pick(dialog, picked);
        ClickOk(dialog);
    });
    mnuAdd_Click(table, &m_main, clock, {});

    QCOMPARE(table.Count(), 1);
    const JobRow& row = table.Row(0);
    QCOMPARE(row.FolderLoc, Folder("b"));
    QCOMPARE(row.icon, RowIcon::Enabled);
    QCOMPARE(row.Status.Text(), QStringLiteral("Enabled"));
    QCOMPARE(row.ValPurge, QStringLiteral("45"));
    QCOMPARE(row.ValOfPurge.Text(), QStringLiteral("Minute"));
    QCOMPARE(row.FileFolderStyle.Text(), QStringLiteral("Subfolders Only"));
    QCOMPARE(row.Description, QStringLiteral("nightly"));
    QCOMPARE(row.Style.Text(), routine ? QStringLiteral("Routine") : QStringLiteral("Specific"));
    QCOMPARE(row.ValEvery, routine ? QStringLiteral("1") : QStringLiteral(" "));
    QCOMPARE(row.ValOfEvery.Text(), routine ? QStringLiteral("Hour") : QStringLiteral(" "));
    QCOMPARE(row.NextRun, nextRun);
}

void TestJobEditorFlow::EditFillsFromTheRow_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("routine");
    QTest::addColumn<bool>("specific");
    QTest::addColumn<bool>("adjustEnabled");
    QTest::addColumn<QDateTime>("pickers");

    const QDateTime now = At(QStringLiteral("06/15/2026 10:00 AM"));
    const QDateTime next = At(QStringLiteral("07/04/2026 02:30 PM"));
    QTest::newRow("routine") << "Routine" << true << false << true << next;
    QTest::newRow("specific") << "Specific" << false << true << false << next;
    QTest::newRow("neither: no option, present time") << "routine" << false << false << true << now;
}

void TestJobEditorFlow::EditFillsFromTheRow()
{
    QFETCH(QString, style);
    QFETCH(bool, routine);
    QFETCH(bool, specific);
    QFETCH(bool, adjustEnabled);
    QFETCH(QDateTime, pickers);

    JobTable table;
    table.Append(MakeRow(Folder("a"), QStringLiteral("Routine"), QStringLiteral("06/20/2026 10:00 AM")));
    const quint64 id = table.Append(MakeRow(Folder("b"), style, QStringLiteral("07/04/2026 02:30 PM")));
    MockClock clock(At(QStringLiteral("06/15/2026 10:00 AM")));

    DialogDriver driver([&](frmProps& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Selected Purge Job"));
        QCOMPARE(dialog.CurrentMode(), frmProps::Mode::EditCurrent);
        QCOMPARE(dialog.EditedId(), id);
        QCOMPARE(Find<QLineEdit>(dialog, "txtLocation")->text(), Folder("b"));
        QCOMPARE(Find<QComboBox>(dialog, "cmbPurgeCondition1")->currentText(), QStringLiteral("12"));
        QCOMPARE(Find<QComboBox>(dialog, "cmbPurgeCondition2")->currentText(), QStringLiteral("Month"));
        QCOMPARE(Find<QComboBox>(dialog, "cmbFileFolder")->currentText(),
                 QStringLiteral("Include Files in Subfolders"));
        QCOMPARE(Find<QPlainTextEdit>(dialog, "TxtDesc")->toPlainText(), QStringLiteral("keep it tidy"));
        QCOMPARE(Find<QRadioButton>(dialog, "OptPurge0")->isChecked(), routine);
        QCOMPARE(Find<QRadioButton>(dialog, "OptPurge1")->isChecked(), specific);
        const QString every = routine ? QStringLiteral("15") : QStringLiteral("1");
        QCOMPARE(Find<QComboBox>(dialog, "cmbRoutineValue1")->currentText(), every);
        QCOMPARE(Find<QComboBox>(dialog, "cmbRoutineValue2")->currentText(),
                 routine ? QStringLiteral("Minute") : QStringLiteral("Day"));
        QCOMPARE(Find<QDateEdit>(dialog, "DatePicker")->date(), pickers.date());
        QCOMPARE(Find<QTimeEdit>(dialog, "TimePicker")->time(), pickers.time());
        auto* adjust = Find<QCheckBox>(dialog, "CheckAdjust");
        QVERIFY(!adjust->isHidden());
        QCOMPARE(adjust->isEnabled(), adjustEnabled);
        QVERIFY(!Find<QTimer>(dialog, "Timer1")->isActive());
        dialog.reject();
    });
    mnuEdit_Click(table, &m_main, clock, {}, id);
    QVERIFY(driver.Opened());
}

void TestJobEditorFlow::EditWrites_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<RowIcon>("icon");
    QTest::addColumn<QDateTime>("picked");
    QTest::addColumn<bool>("adjust");
    QTest::addColumn<QString>("nextRun");
    QTest::addColumn<RowIcon>("newIcon");

    const QDateTime nine = At(QStringLiteral("06/15/2026 09:00 AM"));
    QTest::newRow("no check mark, passed run")
        << nine << RowIcon::Enabled << At(QStringLiteral("06/14/2026 09:00 AM")) << false
        << "06/14/2026 09:00 AM" << RowIcon::EnabledPassed;
    QTest::newRow("check mark, passed run moves on from now")
        << nine << RowIcon::EnabledPassed << At(QStringLiteral("06/14/2026 08:00 AM")) << true
        << "06/15/2026 09:15 AM" << RowIcon::Enabled;
    QTest::newRow("January is after December")
        << At(QStringLiteral("01/05/2027 09:00 AM")) << RowIcon::Enabled
        << At(QStringLiteral("12/25/2026 10:00 AM")) << false << "12/25/2026 10:00 AM"
        << RowIcon::EnabledPassed;
    QTest::newRow("check mark, January is after December")
        << At(QStringLiteral("01/05/2027 09:00 AM")) << RowIcon::EnabledPassed
        << At(QStringLiteral("12/25/2026 10:00 AM")) << true << "01/05/2027 09:15 AM" << RowIcon::Enabled;
}

void TestJobEditorFlow::EditWrites()
{
    QFETCH(QDateTime, now);
    QFETCH(RowIcon, icon);
    QFETCH(QDateTime, picked);
    QFETCH(bool, adjust);
    QFETCH(QString, nextRun);
    QFETCH(RowIcon, newIcon);

    JobTable table;
    const quint64 id = table.Append(
        MakeRow(Folder("a"), QStringLiteral("Routine"), QStringLiteral("03/03/2026 03:00 AM"), icon));
    MockClock clock(now);
    DialogDriver driver([&](frmProps& dialog) {
        Pick(dialog, picked);
        Find<QCheckBox>(dialog, "CheckAdjust")->setChecked(adjust);
        ClickOk(dialog);
    });
    mnuEdit_Click(table, &m_main, clock, {}, id);
    QCOMPARE(table.Row(0).NextRun, nextRun);
    QCOMPARE(table.Row(0).icon, newIcon);
    QCOMPARE(table.Row(0).Status.Text(), QStringLiteral("Enabled"));
}

void TestJobEditorFlow::EditWithoutAStyleKeepsIt()
{
    JobTable table;
    JobRow row = MakeRow(Folder("a"), QStringLiteral("Weekly"), QStringLiteral("06/20/2026 10:00 AM"));
    row.ValEvery = QStringLiteral("x");
    row.ValOfEvery = StoredWord<TimeUnit>(QStringLiteral("Fortnight"));
    const quint64 id = table.Append(row);
    MockClock clock(At(QStringLiteral("06/15/2026 10:00 AM")));
    DialogDriver driver([&](frmProps& dialog) {
        Find<QLineEdit>(dialog, "txtLocation")->setText(Folder("c"));
        ClickOk(dialog);
    });
    mnuEdit_Click(table, &m_main, clock, {}, id);
    QCOMPARE(table.Row(0).FolderLoc, Folder("c"));
    QCOMPARE(table.Row(0).Style.Text(), QStringLiteral("Weekly"));
    QCOMPARE(table.Row(0).ValEvery, QStringLiteral("x"));
    QCOMPARE(table.Row(0).ValOfEvery.Text(), QStringLiteral("Fortnight"));
}

void TestJobEditorFlow::EditWithoutSelectionDoesNothing()
{
    MockClock clock;
    JobTable table;
    DialogDriver driver([](frmProps& dialog) { dialog.reject(); });
    mnuEdit_Click(table, &m_main, clock, {}, 0);
    table.Append(MakeRow(Folder("a"), QStringLiteral("Routine"), QStringLiteral("06/20/2026 10:00 AM")));
    mnuEdit_Click(table, &m_main, clock, {}, 0);
    QTest::qWait(50);
    QVERIFY(!driver.Opened());
}

void TestJobEditorFlow::EditOfARowRemovedMeanwhile()
{
    JobTable table;
    const quint64 id =
        table.Append(MakeRow(Folder("a"), QStringLiteral("Specific"), QStringLiteral("06/15/2026 10:01 AM")));
    table.Append(MakeRow(Folder("b"), QStringLiteral("Routine"), QStringLiteral("06/20/2026 10:00 AM")));
    MockClock clock(At(QStringLiteral("06/15/2026 10:00 AM")));

    MessageBoxAnswerer answerer(QMessageBox::Ok);
    DialogDriver driver([&](frmProps& dialog) {
        Find<QLineEdit>(dialog, "txtLocation")->setText(Folder("c"));
        // The check timer runs the specific job and removes it while the editor is open.
        table.Remove(0);
        ClickOk(dialog);
    });
    const JobRow other = table.Row(1);
    mnuEdit_Click(table, &m_main, clock, {}, id);

    QCOMPARE(table.Count(), 1);
    QCOMPARE(table.Row(0), other);
    QTRY_COMPARE(answerer.SeenBoxes().size(), size_t(1));
    QVERIFY(answerer.SeenBoxes().front().text.contains(QStringLiteral("removed")));
}

QTEST_MAIN(TestJobEditorFlow)
#include "tst_jobeditorflow.moc"
