// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "schedule/jobedit.h"

#include <QDialog>
#include <QStringList>
#include <array>

class Clock;
class JobTable;
struct JobRow;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTimeEdit;
class QTimer;

// The job properties dialog: one purge job's folder, threshold, style, schedule and remark.
// The opener sets the mode and fills it; Ok accepts only after its checks have passed, and
// the opener then writes Values() into the job table.
class frmProps : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MaxDescription = 256;

    enum class Mode
    {
        AddNew,
        EditCurrent
    };

    // protectedPaths: the program's own files, which a preview of the job as entered leaves
    // out as a run would.
    frmProps(const JobTable& table, const Clock& clock, QStringList protectedPaths,
             QWidget* parent = nullptr);

    // CheckAdjust is shown in edit mode only; add mode ticks CheckTrash as the Options say.
    void SetMode(Mode mode);
    Mode CurrentMode() const { return m_mode; }
    // Edit mode: the row's fields into the controls; the row is the one edited.
    void FillFromRow(const JobRow& row);
    // The id of the row being edited; 0 when no row was filled in (add mode).
    quint64 EditedId() const { return m_editedId; }

    JobEditValues Values() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildPurgeTab();
    QWidget* BuildDateTab();
    QWidget* BuildDescriptionTab();
    void Load();
    void Activate();
    void OptPurge_Click(ScheduleKind kind);
    void Timer1_Timer();
    void TimePicker_Change();
    void cmdBrowse_Click();
    void CmdOk_Click();
    void CmdPreview_Click();
    // Why the folder as entered cannot be purged; empty when it can.
    QString FolderProblem() const;
    void TxtDesc_Change();
    void SetPickers(const QDate& date, const QTime& time);
    void ShowError(const QString& text);

    const JobTable& m_table;
    const Clock& m_clock;
    const QStringList m_protectedPaths;
    Mode m_mode = Mode::AddNew;
    quint64 m_editedId = 0;
    bool m_activated = false;
    int m_descriptionLength = 0;

    QLineEdit* m_txtLocation = nullptr;
    QComboBox* m_cmbPurgeCondition1 = nullptr;
    QComboBox* m_cmbPurgeCondition2 = nullptr;
    QComboBox* m_cmbFileFolder = nullptr;
    QCheckBox* m_checkTrash = nullptr;
    // The schedule options, Routine and Specific, by their kind.
    std::array<QRadioButton*, 2> m_optPurge{};
    QComboBox* m_cmbRoutineValue1 = nullptr;
    QComboBox* m_cmbRoutineValue2 = nullptr;
    QDateEdit* m_datePicker = nullptr;
    QTimeEdit* m_timePicker = nullptr;
    QCheckBox* m_checkAdjust = nullptr;
    QPlainTextEdit* m_txtDesc = nullptr;
    QTimer* m_timer1 = nullptr;
};
