// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon/asker.h"
#include "quillon/frmmain.h"
#include "quillon/processstarter.h"
#include "shared/commandline.h"
#include "shared/programfolder.h"

#include <QApplication>
#include <QIcon>

namespace {

const char Usage[] = "Usage: quillon [Qt options such as -platform NAME or -style NAME]\n"
                     "       quillon --help | --version\n"
                     "\n"
                     "Lists Scourwell's week logs and opens them in a viewer.\n"
                     "\n"
                     "  --help     show this help\n"
                     "  --version  show the version\n";

} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = AnswerCommandLine(argc, argv, {"quillon", Usage, false}))
        return *status;

    QApplication app(argc, argv);
    app.setApplicationName("Quillon");
    app.setApplicationVersion(SCOURWELL_VERSION);
    app.setWindowIcon(QIcon(QStringLiteral(":/quillon/quillon.svg")));

    quillon::DialogAsker asker;
    quillon::DetachedProcessStarter starter;
    quillon::frmMain window(ResolveProgramFolder(QCoreApplication::applicationDirPath()), asker, starter);
    window.show();
    return app.exec();
}
