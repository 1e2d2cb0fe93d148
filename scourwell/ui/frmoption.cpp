// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmoption.h"

#include "config/autostart.h"
#include "config/jobconfig.h"
#include "config/jobtable.h"
#include "ui/windowmodal.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

struct LookChoice
{
    const char* caption;
    DateKind kind;
};

constexpr std::array<LookChoice, 3> LookChoices{{
    {"Date Created.", DateKind::Created},
    {"Date Last Modified.", DateKind::LastModified},
    {"Date Last Accessed.", DateKind::LastAccessed},
}};

template <typename T> struct Choice
{
    const char* caption;
    T choice;
};

constexpr std::array<Choice<MissedRun>, 3> MissedChoices{{
    {"Wait for Adjust Date", MissedRun::Wait},
    {"Move on to the next run", MissedRun::MoveOn},
    {"Run once, then move on", MissedRun::RunOnce},
}};

constexpr std::array<Choice<RunResults>, 3> ResultsChoices{{
    {"Every run", RunResults::Every},
    {"Only runs that deleted something", RunResults::WhenDeleted},
    {"Never", RunResults::Never},
}};

QLabel* BoldLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// A framed group of one choice's buttons under a bold heading; the buttons are named
// prefix0, prefix1, ... in the order of choices.
template <typename T>
QGroupBox* ChoiceGroup(const QString& name, const QString& heading, const std::array<Choice<T>, 3>& choices,
                       std::array<QRadioButton*, 3>& buttons, QWidget* parent)
{
    auto* frame = new QGroupBox(parent);
    frame->setObjectName(QStringLiteral("Frame") + name);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(BoldLabel(QStringLiteral("Label") + name, heading, frame));
    for (size_t i = 0; i < choices.size(); ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(choices[i].caption), frame);
        option->setObjectName(QStringLiteral("Opt%1%2").arg(name).arg(i));
        layout->addWidget(option);
        buttons[i] = option;
    }
    return frame;
}

template <typename T>
void Check(const std::array<Choice<T>, 3>& choices, const std::array<QRadioButton*, 3>& buttons, T value)
{
    for (size_t i = 0; i < choices.size(); ++i)
        buttons[i]->setChecked(choices[i].choice == value);
}

// The checked button's choice; current when none is checked.
template <typename T>
T Checked(const std::array<Choice<T>, 3>& choices, const std::array<QRadioButton*, 3>& buttons, T current)
{
    for (size_t i = 0; i < choices.size(); ++i) {
        if (buttons[i]->isChecked())
            return choices[i].choice;
    }
    return current;
}

} // namespace

frmOption::frmOption(JobTable& table, const QString& programFolder, QWidget* parent)
    : QDialog(parent), m_table(table), m_programFolder(programFolder),
      m_autostartPath(UserAutostartEntryPath())
{
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame3"));
    auto* choices = new QVBoxLayout(frame);
    choices->addWidget(
        BoldLabel(QStringLiteral("Label1"), QStringLiteral("Purge Files or Folders by Date of:"), frame));
    for (size_t i = 0; i < LookChoices.size(); ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(LookChoices[i].caption), frame);
        option->setObjectName(QStringLiteral("OptLook%1").arg(i));
        choices->addWidget(option);
        m_optLook[i] = option;
    }
    choices->addSpacing(8);
    choices->addWidget(BoldLabel(QStringLiteral("Label2"), QStringLiteral("Specific Jobs:"), frame));
    m_chkRemoveList = new QCheckBox(QStringLiteral("Remove jobs from list after recurring."), frame);
    m_chkRemoveList->setObjectName(QStringLiteral("chkRemoveList"));
    choices->addWidget(m_chkRemoveList);
    auto* note = new QLabel(
        QStringLiteral("***  Jobs list will be saved automaticly after every task occurance."), frame);
    note->setObjectName(QStringLiteral("Label3"));
    choices->addWidget(note);

    QGroupBox* missedFrame =
        ChoiceGroup(QStringLiteral("Missed"), QStringLiteral("When a scheduled run is missed:"),
                    MissedChoices, m_optMissed, this);
    QGroupBox* resultsFrame =
        ChoiceGroup(QStringLiteral("Results"), QStringLiteral("When a run ends, tell me:"), ResultsChoices,
                    m_optResults, this);

    QGroupBox* trashFrame = BuildTrashGroup();

    m_chkAutostart = new QCheckBox(QStringLiteral("Start Scourwell in the tray when I log in"), this);
    m_chkAutostart->setObjectName(QStringLiteral("chkAutostart"));

    auto* cmdOk = new QPushButton(QStringLiteral("Save"), this);
    cmdOk->setObjectName(QStringLiteral("CmdOk"));
    cmdOk->setDefault(true);
    auto* cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("CmdClose"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdClose);

    // Two columns, so that the dialog fits a screen of 500 pixels' height (1000 at scale 2).
    auto* layout = new QGridLayout(this);
    layout->addWidget(frame, 0, 0, 2, 1);
    layout->addWidget(missedFrame, 0, 1);
    layout->addWidget(resultsFrame, 1, 1);
    layout->addWidget(trashFrame, 2, 0, 1, 2);
    layout->addWidget(m_chkAutostart, 3, 0, 1, 2);
    layout->addLayout(buttons, 4, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOk, &QPushButton::clicked, this, &frmOption::Save);
    connect(cmdClose, &QPushButton::clicked, this, &frmOption::reject);

    LoadFromTable();
}

QGroupBox* frmOption::BuildTrashGroup()
{
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("FrameTrash"));
    m_chkTrashNewJobs =
        new QCheckBox(QStringLiteral("Move to the Trash instead of deleting, for new jobs"), frame);
    m_chkTrashNewJobs->setObjectName(QStringLiteral("chkTrashNewJobs"));
    // Unticked, nothing is emptied; the days stay shown for the next time it is ticked.
    m_chkEmptyTrash = new QCheckBox(QStringLiteral("Empty what Scourwell moved to the Trash after"), frame);
    m_chkEmptyTrash->setObjectName(QStringLiteral("chkEmptyTrash"));
    m_spinTrashDays = new QSpinBox(frame);
    m_spinTrashDays->setObjectName(QStringLiteral("spinTrashDays"));
    m_spinTrashDays->setAccessibleName(QStringLiteral("Days before the Trash is emptied"));
    m_spinTrashDays->setRange(1, MaxTrashDays);
    m_spinTrashDays->setSuffix(QStringLiteral(" days"));
    connect(m_chkEmptyTrash, &QCheckBox::toggled, m_spinTrashDays, &QSpinBox::setEnabled);

    auto* empty = new QHBoxLayout;
    empty->addWidget(m_chkEmptyTrash);
    empty->addWidget(m_spinTrashDays);
    empty->addStretch();
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(BoldLabel(QStringLiteral("LabelTrash"), QStringLiteral("The Trash:"), frame));
    layout->addWidget(m_chkTrashNewJobs);
    layout->addLayout(empty);
    return frame;
}

void frmOption::LoadFromTable()
{
    // A hand-edited date kind that names none of them selects none.
    for (size_t i = 0; i < LookChoices.size(); ++i) {
        if (m_table.LookPurgeBy().Is(LookChoices[i].kind)) {
            m_optLook[i]->setChecked(true);
            break;
        }
    }
    // Only "1" checks the box: a missing or hand-edited value reads as "keep the job".
    m_chkRemoveList->setChecked(m_table.DeleteSpecific().trimmed().toInt() == 1);
    Check(MissedChoices, m_optMissed, m_table.MissedRunChoice());
    Check(ResultsChoices, m_optResults, m_table.RunResultsChoice());
    m_chkAutostart->setChecked(IsAutostartEnabled(m_autostartPath));
    m_chkTrashNewJobs->setChecked(m_table.NewJobsMoveToTrash());
    const int days = m_table.TrashDays();
    m_chkEmptyTrash->setChecked(days > 0);
    m_spinTrashDays->setEnabled(days > 0);
    m_spinTrashDays->setValue(days > 0 ? days : DefaultTrashDays);
}

void frmOption::Save()
{
    // The autostart entry first: when it cannot be written nothing is saved and the dialog
    // stays open, so the user sees that the choice did not take.
    const bool autostart = m_chkAutostart->isChecked();
    if (autostart != IsAutostartEnabled(m_autostartPath)) {
        const QString problem =
            SetAutostart(m_autostartPath, QCoreApplication::applicationFilePath(), autostart);
        if (!problem.isEmpty()) {
            MessageWindowModal(this, QMessageBox::Critical, QStringLiteral("Error"), problem,
                               QMessageBox::Ok);
            return;
        }
    }

    // With none selected the date kind stays as it is written.
    QString look = m_table.LookPurgeBy().Text();
    for (size_t i = 0; i < LookChoices.size(); ++i) {
        if (m_optLook[i]->isChecked())
            look = Spelling(LookChoices[i].kind);
    }
    const QString deleteSpecific = m_chkRemoveList->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    const MissedRun missedRun = Checked(MissedChoices, m_optMissed, m_table.MissedRunChoice());
    const RunResults runResults = Checked(ResultsChoices, m_optResults, m_table.RunResultsChoice());
    m_table.SetOptions(look, deleteSpecific);
    m_table.SetMissedRunChoice(missedRun);
    m_table.SetRunResultsChoice(runResults);
    const bool trashNewJobs = m_chkTrashNewJobs->isChecked();
    const int trashDays = m_chkEmptyTrash->isChecked() ? m_spinTrashDays->value() : 0;
    m_table.SetNewJobsMoveToTrash(trashNewJobs);
    m_table.SetTrashDays(trashDays);
    SaveOptions(m_programFolder, look, deleteSpecific, missedRun, runResults, trashNewJobs, trashDays);
    accept();
}
