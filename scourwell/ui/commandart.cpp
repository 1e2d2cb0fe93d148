// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/commandart.h"

// Q_INIT_RESOURCE must be called outside any namespace; the library is static, so nothing
// registers the resources unless someone calls it.
static void InitCommandResources()
{
    Q_INIT_RESOURCE(commands);
}

namespace {

const char* FileName(MainCommand command)
{
    switch (command) {
    case MainCommand::AddNewJob:
        return "new-job";
    case MainCommand::SaveJobs:
        return "save-jobs";
    case MainCommand::Options:
        return "options";
    case MainCommand::Exit:
        return "exit";
    case MainCommand::LogExplorer:
        return "log-explorer";
    case MainCommand::ThreadInfo:
        return "thread-info";
    case MainCommand::Help:
        return "help";
    case MainCommand::About:
        return "about";
    case MainCommand::EnableAllJobs:
        return "enable-all";
    case MainCommand::DisableAllJobs:
        return "disable-all";
    case MainCommand::Hide:
        return "hide";
    case MainCommand::Runs:
        return "runs";
    case MainCommand::EditSelectedJob:
    case MainCommand::EnableJob:
    case MainCommand::DisableJob:
    case MainCommand::RunNow:
    case MainCommand::Preview:
    case MainCommand::AdjustDate:
    case MainCommand::BrowseLocation:
    case MainCommand::DeleteSelected:
    case MainCommand::JobRuns:
        return nullptr;
    }
    return nullptr;
}

} // namespace

namespace CommandArt {

QIcon Image(MainCommand command)
{
    static const bool initialised = (InitCommandResources(), true);
    Q_UNUSED(initialised);
    const char* name = FileName(command);
    if (!name)
        return {};
    return QIcon(QStringLiteral(":/commands/") + QLatin1String(name) + QStringLiteral(".svg"));
}

} // namespace CommandArt
