// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/rundetails.h"

#include "ui/frmmain.h"

#include <QMessageBox>
#include <QPushButton>

QMessageBox* ShowRunDetails(frmMain& main, const QString& text)
{
    main.ShowFromTray();
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Run Details"), text,
                                QMessageBox::Ok, &main);
    box->setObjectName(QStringLiteral("RunDetails"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    QPushButton* logs = box->addButton(QStringLiteral("&Log Explorer"), QMessageBox::ActionRole);
    logs->setObjectName(QStringLiteral("CmdLogExplorer"));
    QObject::connect(logs, &QPushButton::clicked, &main,
                     [&main] { Q_EMIT main.CommandTriggered(MainCommand::LogExplorer); });
    box->show();
    return box;
}
