#include "app/commandline.h"
#include "config/bytetext.h"
#include "config/programfolder.h"
#include "purge/fswalk.h"
#include "purge/headless.h"
#include "purge/purgecommand.h"
#include "purge/purgeengine.h"
#include "schedule/clock.h"
#include "ui/guimain.h"

#include <QCoreApplication>
#include <QTextStream>
#include <atomic>
#include <csignal>
#include <cstring>

namespace {

std::atomic_bool g_purgeStop = false;

extern "C" void StopPurge(int)
{
    g_purgeStop = true;
}

// scourwell --purge ...: one purge in the foreground; Ctrl+C stops it before its next item.
int PurgeMain(int& argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::signal(SIGINT, StopPurge);
    std::signal(SIGTERM, StopPurge);
    const QString executableFolder = QCoreApplication::applicationDirPath();
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Decoded without loss, so that a folder name which is no UTF-8 still names that folder.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(TextFromBytes(argv[i]));
    return PurgeCommandMain(args, Clock::System(),
                            ProtectedPaths(ResolveProgramFolder(executableFolder), executableFolder), out,
                            err, g_purgeStop);
}

const char Usage[] =
    "Usage: scourwell [/systray] [Qt options such as -platform NAME or -style NAME]\n"
    "       scourwell --headless\n"
    "       scourwell --purge FOLDER --older-than N UNIT [--style STYLE] [--by DATE] [--dry-run]\n"
    "       scourwell --help | --version\n"
    "\n"
    "Deletes old files and subfolders from folders on a schedule.\n"
    "\n"
    "  /systray    start hidden in the tray\n"
    "  --headless  run the jobs with no window; SIGINT or SIGTERM stops it cleanly\n"
    "  --purge     run one purge in the foreground (UNIT: Minute, Hour, Day or Month)\n"
    "  --help      show this help\n"
    "  --version   show the version\n";

} // namespace

int main(int argc, char** argv)
{
    FsWalk::RaiseDescriptorLimit();
    const char* first = argc > 1 ? argv[1] : "";
    if (std::strcmp(first, "--headless") == 0)
        return HeadlessMain(argc, argv);
    if (std::strcmp(first, "--purge") == 0)
        return PurgeMain(argc, argv);
    if (const std::optional<int> status = AnswerCommandLine(argc, argv, {"scourwell", Usage, true}))
        return *status;
    return RunGui(argc, argv);
}
