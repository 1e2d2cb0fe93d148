// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmprops.h"

#include "config/jobconfig.h"
#include "config/jobtable.h"
#include "config/runtime.h"
#include "purge/purgeengine.h"
#include "shared/clock.h"
#include "ui/previewwindow.h"
#include "ui/tabkeys.h"
#include "ui/windowmodal.h"
#include "ui/windowplacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The spellings of a word set, in the order of its table.
template <typename T> QStringList Spellings()
{
    QStringList texts;
    for (const Word<T>& word : Words<T>())
        texts.append(word.spelling);
    return texts;
}

// The schedule options OptPurge0 and OptPurge1, in this order.
struct ScheduleOption
{
    ScheduleKind kind;
    const char* caption;
    const char* name;
};

constexpr std::array<ScheduleOption, 2> ScheduleOptions{{
    {ScheduleKind::Routine, "Routine", "OptPurge0"},
    {ScheduleKind::Specific, "On Specific...", "OptPurge1"},
}};

template <typename W> W* Named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* Label(const QString& text, QWidget* parent)
{
    return new QLabel(text, parent);
}

// A field's label, tied to it so that a screen reader names the field by it.
QLabel* Label(const QString& text, QWidget* parent, QWidget* field)
{
    QLabel* label = Label(text, parent);
    label->setBuddy(field);
    return label;
}

// What a screen reader calls a field; shorter than its label, or for a field without one.
template <typename W> W* Spoken(W* field, const char* name)
{
    field->setAccessibleName(QString::fromLatin1(name));
    return field;
}

QLabel* Note(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setItalic(true);
    label->setFont(font);
    return label;
}

void FillNumberCombo(QComboBox* list, int first, int count)
{
    for (int i = 0; i < count; ++i)
        list->addItem(QString::number(first + i));
}

// Selects text in a list; a value the list does not offer (from a hand-edited file) is added
// to it, so that opening and saving a job never changes what it holds.
void SetComboText(QComboBox* list, const QString& text)
{
    int index = list->findText(text, Qt::MatchFixedString);
    if (index < 0) {
        list->addItem(text);
        index = list->count() - 1;
    }
    list->setCurrentIndex(index);
}

QPushButton* Button(const QString& text, const char* name, QWidget* parent)
{
    return Named(new QPushButton(text, parent), name);
}

// A key that moves on or answers the dialog; any other key in the time picker is the user
// setting the time.
bool IsNavigationKey(int key)
{
    return key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter ||
           key == Qt::Key_Escape;
}

} // namespace

frmProps::frmProps(const JobTable& table, const Clock& clock, QStringList protectedPaths, QWidget* parent)
    : QDialog(parent), m_table(table), m_clock(clock), m_protectedPaths(std::move(protectedPaths))
{
    setObjectName(QStringLiteral("frmProps"));
    setModal(true);

    auto* tabs = Named(new QTabWidget(this), "SSTab1");
    tabs->addTab(BuildPurgeTab(), QStringLiteral("Purge Task "));
    tabs->addTab(BuildDateTab(), QStringLiteral("Date/Time "));
    tabs->addTab(BuildDescriptionTab(), QStringLiteral("Description  "));
    new TabKeys(*tabs);

    auto* cmdOk = Button(QStringLiteral("Ok"), "CmdOk", this);
    auto* cmdClose = Button(QStringLiteral("Close"), "CmdClose", this);
    auto* cmdPreview = Button(QStringLiteral("&Preview..."), "CmdPreview", this);
    // Return in any field runs Ok's checks, as a click does; Escape closes like Close.
    cmdOk->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdPreview);
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_timer1 = Named(new QTimer(this), "Timer1");
    m_timer1->setInterval(999);

    connect(cmdOk, &QPushButton::clicked, this, &frmProps::CmdOk_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmProps::reject);
    connect(cmdPreview, &QPushButton::clicked, this, &frmProps::CmdPreview_Click);
    connect(m_timer1, &QTimer::timeout, this, &frmProps::Timer1_Timer);
    connect(m_timePicker, &QTimeEdit::timeChanged, this, &frmProps::TimePicker_Change);
    connect(m_txtDesc, &QPlainTextEdit::textChanged, this, &frmProps::TxtDesc_Change);
    for (size_t i = 0; i < ScheduleOptions.size(); ++i) {
        connect(m_optPurge[i], &QRadioButton::toggled, this,
                [this, kind = ScheduleOptions[i].kind](bool checked) {
                    if (checked)
                        OptPurge_Click(kind);
                });
    }

    // The clock must stop at the user's first touch, before a half-typed time is complete.
    m_timePicker->installEventFilter(this);
    if (auto* edit = m_timePicker->findChild<QLineEdit*>())
        edit->installEventFilter(this);

    Load();
    SetMode(Mode::AddNew);
    m_txtLocation->setFocus();
}

QWidget* frmProps::BuildPurgeTab()
{
    auto* page = new QWidget;
    m_txtLocation = Spoken(Named(new QLineEdit(page), "txtLocation"), "Folder location");
    m_txtLocation->setMinimumWidth(360);
    auto* cmdBrowse = Button(QStringLiteral("Set"), "cmdBrowse", page);
    cmdBrowse->setAccessibleDescription(QStringLiteral("Choose the folder to purge"));
    m_cmbPurgeCondition1 = Spoken(Named(new QComboBox(page), "cmbPurgeCondition1"), "Age to purge");
    m_cmbPurgeCondition2 = Spoken(Named(new QComboBox(page), "cmbPurgeCondition2"), "Unit of the age");
    m_cmbFileFolder = Spoken(Named(new QComboBox(page), "cmbFileFolder"), "File and folder option");
    // Its text is what a screen reader calls it.
    m_checkTrash =
        Named(new QCheckBox(QStringLiteral("Move to the Trash instead of deleting"), page), "CheckTrash");

    auto* grid = new QGridLayout(page);
    grid->addWidget(Label(QStringLiteral("Folder Location:"), page, m_txtLocation), 0, 0, 1, 4);
    grid->addWidget(m_txtLocation, 1, 0, 1, 3);
    grid->addWidget(cmdBrowse, 1, 3);
    grid->setRowMinimumHeight(2, 8);
    // The heading is read with the unit list; the list of numbers has a label of its own.
    grid->addWidget(Label(QStringLiteral("Purge Value:"), page, m_cmbPurgeCondition2), 3, 0, 1, 4);
    grid->addWidget(Label(QStringLiteral("Delete object(s) more than:"), page, m_cmbPurgeCondition1), 4, 0);
    grid->addWidget(m_cmbPurgeCondition1, 4, 1);
    grid->addWidget(m_cmbPurgeCondition2, 4, 2);
    grid->addWidget(Note(QStringLiteral("* 1 month is equal to 30 days."), page), 5, 0, 1, 4);
    grid->setRowMinimumHeight(6, 8);
    grid->addWidget(Label(QStringLiteral("File and Folder Option:"), page, m_cmbFileFolder), 7, 0, 1, 4);
    grid->addWidget(m_cmbFileFolder, 8, 0, 1, 3);
    grid->addWidget(m_checkTrash, 9, 0, 1, 4);
    grid->setRowStretch(10, 1);
    grid->setColumnStretch(2, 1);

    connect(cmdBrowse, &QPushButton::clicked, this, &frmProps::cmdBrowse_Click);
    return page;
}

QWidget* frmProps::BuildDateTab()
{
    auto* page = new QWidget;
    for (size_t i = 0; i < ScheduleOptions.size(); ++i)
        m_optPurge[i] = Named(new QRadioButton(QString::fromLatin1(ScheduleOptions[i].caption), page),
                              ScheduleOptions[i].name);
    m_cmbRoutineValue1 = Spoken(Named(new QComboBox(page), "cmbRoutineValue1"), "Run every");
    m_cmbRoutineValue2 = Spoken(Named(new QComboBox(page), "cmbRoutineValue2"), "Unit of the recurrence");

    const QDate first(2000, 1, 1);
    const QDate last(3000, 12, 31);
    m_datePicker = Spoken(Named(new QDateEdit(page), "DatePicker"), "Date of the run");
    m_datePicker->setDisplayFormat(QStringLiteral("dd, MMM, yyyy"));
    m_datePicker->setDateRange(first, last);
    m_datePicker->setCalendarPopup(true);
    m_timePicker = Spoken(Named(new QTimeEdit(page), "TimePicker"), "Time of the run");
    m_timePicker->setDisplayFormat(QStringLiteral("hh:mm:ss AP"));

    m_checkAdjust = Named(new QCheckBox(QStringLiteral("Adjust Next Run Date."), page), "CheckAdjust");

    auto* every = new QHBoxLayout;
    every->addWidget(Label(QStringLiteral("Every"), page, m_cmbRoutineValue1));
    every->addWidget(m_cmbRoutineValue1);
    every->addWidget(m_cmbRoutineValue2);
    every->addStretch();
    // Both pickers as wide as the wider of them, under each other.
    const int pickerWidth = std::max(m_datePicker->sizeHint().width(), m_timePicker->sizeHint().width());
    m_datePicker->setMinimumWidth(pickerWidth);
    m_timePicker->setMinimumWidth(pickerWidth);

    auto* grid = new QGridLayout(page);
    grid->addWidget(Label(QStringLiteral("Purge Style:"), page), 0, 0, 1, 2);
    grid->addWidget(m_optPurge[0], 1, 0);
    grid->addLayout(every, 1, 1);
    grid->addWidget(m_optPurge[1], 2, 0);
    grid->addWidget(m_datePicker, 2, 1, Qt::AlignLeft);
    grid->addWidget(m_timePicker, 3, 1, Qt::AlignLeft);
    grid->addWidget(Note(QStringLiteral("* Format: mm/dd/yyyy hh:nn AM/PM"), page), 4, 0, 1, 2);
    grid->setRowMinimumHeight(5, 8);
    grid->addWidget(m_checkAdjust, 6, 0, 1, 2);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

QWidget* frmProps::BuildDescriptionTab()
{
    auto* page = new QWidget;
    m_txtDesc = Spoken(Named(new QPlainTextEdit(page), "TxtDesc"), "Remark");
    m_txtDesc->setTabChangesFocus(true);

    auto* column = new QVBoxLayout(page);
    column->addWidget(Label(QStringLiteral("Remark:"), page, m_txtDesc));
    column->addWidget(m_txtDesc, 1);
    column->addWidget(Note(QStringLiteral("* Max 256 characters only (including space)."), page));
    return page;
}

void frmProps::Load()
{
    FillNumberCombo(m_cmbRoutineValue1, 1, 60);
    FillNumberCombo(m_cmbPurgeCondition1, 1, 365);
    m_cmbRoutineValue2->addItems(Spellings<TimeUnit>());
    m_cmbPurgeCondition2->addItems(Spellings<TimeUnit>());
    SetComboText(m_cmbRoutineValue2, Spelling(TimeUnit::Day));
    SetComboText(m_cmbPurgeCondition2, Spelling(TimeUnit::Day));
    m_cmbFileFolder->addItems(Spellings<PurgeStyle>());
    const QDateTime now = m_clock.Now();
    SetPickers(now.date(), now.time());
}

void frmProps::SetMode(Mode mode)
{
    m_mode = mode;
    m_checkAdjust->setVisible(mode == Mode::EditCurrent);
    if (mode == Mode::AddNew)
        m_checkTrash->setChecked(m_table.NewJobsMoveToTrash());
}

void frmProps::FillFromRow(const JobRow& row)
{
    m_editedId = row.id;
    m_txtLocation->setText(row.FolderLoc);
    SetComboText(m_cmbPurgeCondition1, row.ValPurge);
    SetComboText(m_cmbPurgeCondition2, row.ValOfPurge.Text());
    SetComboText(m_cmbFileFolder, row.FileFolderStyle.Text());
    m_checkTrash->setChecked(row.MoveToTrash);
    // A remark longer than the limit (hand-edited) is kept whole; only typing is limited.
    m_descriptionLength = static_cast<int>(row.Description.size());
    m_txtDesc->setPlainText(row.Description);

    // Only a Style written as the option's word selects it; any other leaves both unselected.
    const auto option = std::find_if(ScheduleOptions.begin(), ScheduleOptions.end(),
                                     [&row](const ScheduleOption& o) { return row.Style.IsExactly(o.kind); });
    if (option == ScheduleOptions.end())
        return;
    m_optPurge[static_cast<size_t>(option - ScheduleOptions.begin())]->setChecked(true);
    if (option->kind == ScheduleKind::Routine) {
        SetComboText(m_cmbRoutineValue1, row.ValEvery);
        SetComboText(m_cmbRoutineValue2, row.ValOfEvery.Text());
    }
    const std::optional<WallClockTime> nextRun = ParseFullForm(row.NextRun);
    if (nextRun)
        SetPickers(nextRun->Date(), nextRun->Time());
}

JobEditValues frmProps::Values() const
{
    JobEditValues v;
    v.folder = m_txtLocation->text();
    v.valPurge = m_cmbPurgeCondition1->currentText();
    v.valOfPurge = m_cmbPurgeCondition2->currentText();
    v.description = m_txtDesc->toPlainText();
    for (size_t i = 0; i < ScheduleOptions.size(); ++i) {
        if (m_optPurge[i]->isChecked())
            v.kind = ScheduleOptions[i].kind;
    }
    v.fileFolderStyle = m_cmbFileFolder->currentText();
    v.moveToTrash = m_checkTrash->isChecked();
    v.valEvery = m_cmbRoutineValue1->currentText();
    v.valOfEvery = m_cmbRoutineValue2->currentText();
    v.picked = WallClockTime(m_datePicker->date(), m_timePicker->time());
    v.adjust = m_checkAdjust->isChecked();
    return v;
}

void frmProps::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        Activate();
    }
}

void frmProps::Activate()
{
    if (m_mode != Mode::AddNew || m_optPurge[0]->isChecked() || m_optPurge[1]->isChecked())
        return;
    m_optPurge[0]->setChecked(true);
    m_timer1->start();
}

void frmProps::keyPressEvent(QKeyEvent* event)
{
    // Keys that a field leaves unhandled also arrive here; only a key aimed at the dialog
    // itself, with no control focused, closes it.
    QWidget* focus = focusWidget();
    if (!focus || focus == this) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmProps::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (!IsNavigationKey(static_cast<QKeyEvent*>(event)->key()))
            m_timer1->stop();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
        m_timer1->stop();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void frmProps::OptPurge_Click(ScheduleKind kind)
{
    const bool routine = kind == ScheduleKind::Routine;
    m_cmbRoutineValue1->setEnabled(routine);
    m_cmbRoutineValue2->setEnabled(routine);
    m_datePicker->setEnabled(true);
    m_timePicker->setEnabled(true);
    if (m_mode == Mode::EditCurrent)
        m_checkAdjust->setEnabled(routine);
}

void frmProps::Timer1_Timer()
{
    // The clock's own update is no change by the user.
    const QSignalBlocker blocker(m_timePicker);
    m_timePicker->setTime(m_clock.Now().time());
}

void frmProps::TimePicker_Change()
{
    m_timer1->stop();
}

void frmProps::SetPickers(const QDate& date, const QTime& time)
{
    const QSignalBlocker blocker(m_timePicker);
    m_datePicker->setDate(date);
    m_timePicker->setTime(time);
}

void frmProps::cmdBrowse_Click()
{
    QFileDialog browser(this, QStringLiteral("Set for purge folder..."), m_txtLocation->text());
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly);
    if (ExecWindowModal(browser) == QDialog::Accepted && !browser.selectedFiles().isEmpty())
        m_txtLocation->setText(browser.selectedFiles().constFirst());
}

QString frmProps::FolderProblem() const
{
    const QString path = m_txtLocation->text();
    if (path.isEmpty())
        return QStringLiteral("Folder Location Path is empty!  ");
    // Typed text fails this only by a line break, which the file cannot keep.
    if (!FolderRoundTrips(path))
        return QStringLiteral("Folder Location Path cannot hold a line break!  ");
    if (!FolderExists(path))
        return QStringLiteral("Cannot find the Folder Location Path!  ");
    if (IsFileSystemRoot(path))
        return QStringLiteral("Folder Location Path cannot be the root of the file system!  ");
    return {};
}

void frmProps::CmdOk_Click()
{
    const QString problem = FolderProblem();
    if (!problem.isEmpty())
        return ShowError(problem);
    if (m_mode == Mode::AddNew && IsFolderInList(m_table, m_txtLocation->text()))
        return ShowError(QStringLiteral("Folder is already being in the list!  "));
    accept();
}

void frmProps::CmdPreview_Click()
{
    const QString problem = FolderProblem();
    if (!problem.isEmpty())
        return ShowError(problem);
    const JobEditValues values = Values();
    const std::optional<PurgeStyle> style = ParseWord<PurgeStyle>(values.fileFolderStyle);
    std::optional<PurgeRequest> request =
        style ? PurgeRequestOf(*style, values.folder, values.valPurge, values.valOfPurge,
                               m_table.LookPurgeBy().Text())
              : std::nullopt;
    if (!request)
        return ShowError(
            QStringLiteral("The purge value or the file and folder option is not one a run can use.  "));
    request->protectedPaths = m_protectedPaths;
    // As the run would: a trash run leaves the home trash alone.
    if (values.moveToTrash.value_or(false))
        request->removal = Removal::MoveToTrash;
    // A window of its own over the editor, which stays open: the job is not saved yet, so
    // there is nothing to run from it.
    auto* preview = new PreviewWindow(std::move(*request), m_clock, this);
    preview->SetRunNowOffered(false);
    PlaceOver(*preview, *this);
    preview->show();
}

void frmProps::TxtDesc_Change()
{
    const QString text = m_txtDesc->toPlainText();
    const int length = static_cast<int>(text.size());
    const int grown = length - m_descriptionLength;
    const int excess = length - MaxDescription;
    if (grown > 0 && excess > 0) {
        // Cut what was just typed or pasted, which ends at the cursor; this comes back
        // here with the shorter text.
        QTextCursor cursor = m_txtDesc->textCursor();
        cursor.setPosition(cursor.position() - std::min(grown, excess), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        return;
    }
    m_descriptionLength = length;
}

void frmProps::ShowError(const QString& text)
{
    MessageWindowModal(this, QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok);
}
