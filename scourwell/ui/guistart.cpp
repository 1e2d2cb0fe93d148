// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/guistart.h"

#include "schedule/jobhost.h"
#include "shared/instancelock.h"
#include "ui/frmsplash.h"

#include <QDir>
#include <QLockFile>
#include <QMessageBox>

GuiStart::GuiStart(StartOptions options, JobHost& host, QObject* parent)
    : QObject(parent), m_options(std::move(options)), m_host(host)
{
}

GuiStart::~GuiStart()
{
    delete m_splash;
}

bool GuiStart::Begin()
{
    const QString& programFolder = m_host.ProgramFolder();
    QDir().mkpath(programFolder);
    QLockFile::LockError error = QLockFile::NoError;
    m_lock = LockSingleInstance(programFolder, &error);
    if (!m_lock) {
        // Without the lock nothing could be kept either: the folder is not writable.
        const QString text = error == QLockFile::LockFailedError
                                 ? QStringLiteral("Another running instance is detected! ")
                                 : QStringLiteral("Scourwell cannot write to its folder ") + programFolder;
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Error Opening Scourwell"), text,
                        QMessageBox::Ok);
        box.exec();
        return false;
    }
    m_splash = new frmSplash;
    connect(m_splash, &frmSplash::InitRequested, this, &GuiStart::ShowInit);
    m_splash->show();
    return true;
}

void GuiStart::ShowInit()
{
    if (!m_init) {
        m_init = std::make_unique<frmInit>(m_options, m_host);
        connect(m_init.get(), &frmInit::ProgramEnded, this, &GuiStart::ProgramEnded);
    }
    m_init->show();
}

QString CommandLineAfterProgram(const QStringList& arguments)
{
    return arguments.mid(1).join(QLatin1Char(' '));
}
