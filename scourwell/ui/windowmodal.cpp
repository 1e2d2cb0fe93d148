// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/windowmodal.h"

#include <QDialog>

int ExecWindowModal(QDialog& dialog)
{
    dialog.setWindowModality(Qt::WindowModal);
    return dialog.exec();
}

QMessageBox::StandardButton MessageWindowModal(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                               const QString& text, QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(ExecWindowModal(box));
}
