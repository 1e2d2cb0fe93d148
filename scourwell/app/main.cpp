// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/guimain.h"
#include "app/headless.h"
#include "purge/fswalk.h"
#include "purge/purgecommand.h"
#include "purge/purgeengine.h"
#include "shared/bytetext.h"
#include "shared/clock.h"
#include "shared/commandline.h"
#include "shared/programfolder.h"

#include <QCoreApplication>
#include <QTextStream>
#include <atomic>
#include <csignal>
#include <cstring>

namespace {

std::atomic_bool g_purgeStop = false;
volatile std::sig_atomic_t g_purgeSignal = 0;

extern "C" void StopPurge(int signalNumber)
{
    g_purgeSignal = signalNumber;
    g_purgeStop = true;
}

// scourwell --purge ...: one purge in the foreground; SIGINT, SIGTERM or SIGHUP stops it
// before its next item, and it ends with 128 + the signal's number, as a shell reports it.
int PurgeMain(int& argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signalNumber, StopPurge);
    // A reader that goes away (| head) ends the output, not the purge.
    std::signal(SIGPIPE, SIG_IGN);
    const QString executableFolder = QCoreApplication::applicationDirPath();
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Decoded without loss, so that a folder name which is no UTF-8 still names that folder.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(TextFromBytes(argv[i]));
    const int status = PurgeCommandMain(
        args, Clock::System(), ProtectedPaths(ResolveProgramFolder(executableFolder), executableFolder), out,
        err, g_purgeStop);
    return status == PurgeStoppedStatus && g_purgeSignal != 0 ? 128 + g_purgeSignal : status;
}

const char Usage[] =
    "Usage: scourwell [/systray] [Qt options such as -platform NAME or -style NAME]\n"
    "       scourwell --headless\n"
    "       scourwell --purge FOLDER --older-than N UNIT [--style STYLE] [--by DATE]\n"
    "                 [--trash] [--dry-run [--verbose] [--format text|tsv]]\n"
    "       scourwell --help | --version\n"
    "\n"
    "Deletes old files and subfolders from folders on a schedule.\n"
    "\n"
    "  /systray    start hidden in the tray\n"
    "  --headless  run the jobs with no window; SIGINT or SIGTERM stops it cleanly\n"
    "  --purge     run one purge in the foreground (UNIT: Minute, Hour, Day or Month); prints\n"
    "              each path deleted on a line, then the count; a path holding a line break\n"
    "              (or beginning with $') as $'...' with \\\\, \\', \\n and \\r escaped.\n"
    "              --trash moves each item to the desktop's trash instead of deleting it\n"
    "              (what cannot be moved stays and is not counted).\n"
    "              --dry-run deletes nothing: it prints what would go, with kind, size,\n"
    "              the date used and its age, then the files, folders and bytes; --verbose\n"
    "              adds what stays and why; --format tsv prints tab-separated lines (action,\n"
    "              reason, kind, bytes, date, age, path) after a header, then \"total\",\n"
    "              files, folders and bytes (a path with a tab is quoted as well).\n"
    "              Status 0 when done, 1 when the folder cannot be opened or the output not\n"
    "              written, 2 for a wrong argument, 128 + the signal's number when SIGINT,\n"
    "              SIGTERM or SIGHUP stopped it (130 for Ctrl+C)\n"
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
