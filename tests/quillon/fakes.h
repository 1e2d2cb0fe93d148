// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillon/asker.h"
#include "quillon/processstarter.h"
#include "support/inifiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <vector>

// Records every box the windows show and answers with a set button.
class FakeAsker : public quillon::Asker
{
public:
    struct Call
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };

    QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons) override
    {
        calls.push_back({icon, title, text, buttons});
        return buttons.testFlag(answer) ? answer : QMessageBox::Ok;
    }
    QString PickFolder(QWidget*, const QString& title, const QString&) override
    {
        pickTitle = title;
        return pickedFolder;
    }

    std::vector<Call> calls;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    QString pickedFolder;
    QString pickTitle;
};

// Records the program and arguments instead of starting anything.
class FakeStarter : public quillon::ProcessStarter
{
public:
    bool StartDetached(const QString& prog, const QStringList& args) override
    {
        ++starts;
        program = prog;
        arguments = args;
        return result;
    }

    int starts = 0;
    QString program;
    QStringList arguments;
    bool result = true;
};

inline void WriteFile(const QString& path, const QByteArray& content = "x",
                      const QDateTime& modified = QDateTime())
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    file.flush();
    if (modified.isValid())
        file.setFileTime(modified, QFileDevice::FileModificationTime);
}

inline void WriteQuillonIni(const QString& programFolder, const QString& lock, const QString& folder,
                            const QString& filter = ".htm", const QString& viewer = "xdg-open")
{
    WriteFile(programFolder + "/quillon.ini", QString("[init]\nlock=" + lock + "\nfolder=" + folder +
                                                      "\nfilter=" + filter + "\nviewer=" + viewer + "\n")
                                                  .toUtf8());
}
