// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace quillon {

// Everything the windows ask of the user through a modal box, so tests can answer.
class Asker
{
public:
    virtual ~Asker() = default;
    virtual QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                                const QString& text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Ok) = 0;
    // The folder picked, or "" when the user cancels.
    virtual QString PickFolder(QWidget* parent, const QString& title, const QString& start) = 0;
};

// Message boxes and the folder browser of the desktop.
class DialogAsker final : public Asker
{
public:
    QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons) override;
    QString PickFolder(QWidget* parent, const QString& title, const QString& start) override;
};

} // namespace quillon
