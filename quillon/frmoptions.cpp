// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon/frmoptions.h"

#include "quillon/asker.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

QComboBox* NewCombo(const QString& name, const QStringList& items, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    // A typed value is taken as typed, without growing the offered list.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    return combo;
}

QPushButton* NewButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

// A field's label, tied to it so that a screen reader names the field by it.
QLabel* NewLabel(const QString& caption, QWidget* field, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(field);
    return label;
}

} // namespace

frmOptions::frmOptions(IniMod& settings, Asker& asker, QWidget* owner)
    : QDialog(owner), m_settings(settings), m_asker(asker)
{
    setObjectName("frmOptions");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Options") + (m_settings.Lock() == false ? tr(" - Unlocked") : tr(" - Locked")));

    m_text1 = new QLineEdit(this);
    m_text1->setObjectName("Text1");
    m_text1->setAccessibleName(tr("Log folder"));
    m_comboFilter = NewCombo("ComboFilter", {".htm", ".html", ".log", ".txt"}, this);
    m_comboFilter->setAccessibleName(tr("Filter"));
    m_comboViewer = NewCombo("ComboViewer", {"xdg-open", "mousepad"}, this);
    m_comboViewer->setAccessibleName(tr("Viewer"));
    m_cmdSet = NewButton("CmdSet", tr("Set"), this);
    m_cmdChange = NewButton("CmdChange", tr("Change"), this);
    m_cmdClose = NewButton("CmdClose", tr("Close"), this);
    auto* cmdHelp = NewButton("CmdHelp", tr("Help"), this);

    auto* fields = new QGridLayout;
    fields->addWidget(NewLabel(tr("Log Folder :"), m_text1, this), 0, 0);
    fields->addWidget(m_text1, 0, 1);
    fields->addWidget(m_cmdSet, 0, 2);
    fields->addWidget(NewLabel(tr("Filter :"), m_comboFilter, this), 1, 0);
    fields->addWidget(m_comboFilter, 1, 1);
    fields->addWidget(NewLabel(tr("Viewer :"), m_comboViewer, this), 2, 0);
    fields->addWidget(m_comboViewer, 2, 1);
    fields->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdChange);
    buttons->addWidget(m_cmdClose);
    buttons->addWidget(cmdHelp);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(460, sizeHint().height());

    ShowSettings(m_settings.Current());
    m_text1->setToolTip(m_settings.Current().folder);
    SetEditing(false);

    connect(m_cmdChange, &QPushButton::clicked, this, &frmOptions::CmdChangeClick);
    connect(m_cmdClose, &QPushButton::clicked, this, &frmOptions::CmdCloseClick);
    connect(m_cmdSet, &QPushButton::clicked, this, &frmOptions::CmdSetClick);
    connect(cmdHelp, &QPushButton::clicked, this, &frmOptions::CmdHelpClick);
}

void frmOptions::ShowSettings(const LogSettings& settings)
{
    m_text1->setText(settings.folder);
    m_comboFilter->setCurrentText(settings.filter);
    m_comboViewer->setCurrentText(settings.viewer);
}

LogSettings frmOptions::ShownSettings() const
{
    return {m_text1->text(), m_comboFilter->currentText(), m_comboViewer->currentText()};
}

void frmOptions::SetEditing(bool editing)
{
    m_editing = editing;
    for (QWidget* field : {static_cast<QWidget*>(m_text1), static_cast<QWidget*>(m_comboFilter),
                           static_cast<QWidget*>(m_comboViewer), static_cast<QWidget*>(m_cmdSet)})
        field->setEnabled(editing);
    m_cmdChange->setText(editing ? tr("Ok") : tr("Change"));
    m_cmdClose->setText(editing ? tr("Cancel") : tr("Close"));
}

void frmOptions::CmdChangeClick()
{
    if (m_editing) {
        Accept();
        return;
    }
    m_beforeEditing = ShownSettings();
    SetEditing(true);
    m_text1->setFocus();
}

void frmOptions::Accept()
{
    const LogSettings chosen = ShownSettings();
    if (chosen.folder.isEmpty()) {
        m_asker.Message(this, QMessageBox::Warning, tr("Error"), tr("Log folder is empty! "));
        return;
    }
    if (!QFileInfo(chosen.folder).isDir()) {
        m_asker.Message(this, QMessageBox::Critical, tr("Error"), tr("Log folder not found! "));
        return;
    }
    SetEditing(false);
    m_settings.SetCurrent(chosen);
    close();
    if (!m_settings.SaveSettings())
        m_asker.Message(parentWidget(), QMessageBox::Critical, tr("Error"),
                        tr("The settings could not be saved to ") + m_settings.IniPath() + "! ");
    Q_EMIT SettingsAccepted();
}

void frmOptions::CmdCloseClick()
{
    if (m_editing) {
        ShowSettings(m_beforeEditing);
        SetEditing(false);
        return;
    }
    close();
    if (parentWidget())
        parentWidget()->activateWindow();
}

void frmOptions::CmdSetClick()
{
    const QString folder = m_asker.PickFolder(this, tr("Browse for log folder..."), m_text1->text());
    if (!folder.isEmpty())
        m_text1->setText(folder);
}

void frmOptions::CmdHelpClick()
{
    m_asker.Message(this, QMessageBox::Information, tr("Help"),
                    tr("To unlock properties in order to save setting, open file \n"
                       "quillon.ini and manually edit value in key lock to false. \n\n"
                       "Example: lock=false "));
}

} // namespace quillon
