// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon/asker.h"

#include <QFileDialog>

namespace quillon {

QMessageBox::StandardButton DialogAsker::Message(QWidget* parent, QMessageBox::Icon icon,
                                                 const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString DialogAsker::PickFolder(QWidget* parent, const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
}

} // namespace quillon
