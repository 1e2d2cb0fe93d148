// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/frminit.h"
#include "ui/frmsplash.h"

#include <QPointer>
#include <memory>

class JobHost;
class QLockFile;

// One start of the windowed program: the single-instance rule, then splash, init window and
// main window in turn. The instance lock is held while this object lives.
class GuiStart : public QObject
{
    Q_OBJECT

public:
    // The host outlives this object.
    GuiStart(StartOptions options, JobHost& host, QObject* parent = nullptr);
    ~GuiStart() override;

    // False when another instance holds the program folder: the user has been told and
    // nothing was created. Otherwise the splash is showing.
    bool Begin();

    frmSplash* Splash() const { return m_splash; }
    frmInit* Init() const { return m_init.get(); }

Q_SIGNALS:
    void ProgramEnded();

private:
    void ShowInit();

    StartOptions m_options;
    JobHost& m_host;
    std::unique_ptr<QLockFile> m_lock;
    QPointer<frmSplash> m_splash;
    std::unique_ptr<frmInit> m_init;
};

// The command line after the program name, as one text.
QString CommandLineAfterProgram(const QStringList& arguments);
