// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillon/inimod.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quillon {

class Asker;

// The log explorer's Options dialog: shows folder, filter and viewer, and while editing
// lets the user change them. Ok makes them the current settings and saves them when the
// settings file is unlocked.
class frmOptions : public QDialog
{
    Q_OBJECT

public:
    frmOptions(IniMod& settings, Asker& asker, QWidget* owner);

Q_SIGNALS:
    // New settings were accepted; the log list is to be refilled.
    void SettingsAccepted();

private:
    void CmdChangeClick();
    void CmdCloseClick();
    void CmdSetClick();
    void CmdHelpClick();
    void Accept();
    void ShowSettings(const LogSettings& settings);
    LogSettings ShownSettings() const;
    void SetEditing(bool editing);

    IniMod& m_settings;
    Asker& m_asker;
    QLineEdit* m_text1;
    QComboBox* m_comboFilter;
    QComboBox* m_comboViewer;
    QPushButton* m_cmdSet;
    QPushButton* m_cmdChange;
    QPushButton* m_cmdClose;
    bool m_editing = false;
    LogSettings m_beforeEditing;
};

} // namespace quillon
