// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>

class JobTable;
class QGroupBox;
class QCheckBox;
class QRadioButton;
class QSpinBox;

// The options dialog: the date kind the purge compares and whether a Specific job leaves
// the list after its run. It reads both from the job table at every opening; Save puts
// them back into the table and stores them in ConfigDat.ini at once, with what the check
// timer does with a missed run and which ended runs are told, whether new jobs move to the
// trash and after how many days what runs moved there is emptied. Beside them, whether
// Scourwell starts in the tray at login, kept as the user's XDG autostart entry.
class frmOption : public QDialog
{
    Q_OBJECT

public:
    frmOption(JobTable& table, const QString& programFolder, QWidget* parent = nullptr);

private:
    void LoadFromTable();
    void Save();
    QGroupBox* BuildTrashGroup();

    JobTable& m_table;
    QString m_programFolder;
    std::array<QRadioButton*, 3> m_optLook{};
    std::array<QRadioButton*, 3> m_optMissed{};
    std::array<QRadioButton*, 3> m_optResults{};
    QCheckBox* m_chkRemoveList = nullptr;
    QCheckBox* m_chkAutostart = nullptr;
    QCheckBox* m_chkTrashNewJobs = nullptr;
    QCheckBox* m_chkEmptyTrash = nullptr;
    QSpinBox* m_spinTrashDays = nullptr;
    QString m_autostartPath;
};
