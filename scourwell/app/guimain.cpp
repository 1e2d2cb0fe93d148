// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/guimain.h"

#include "schedule/jobhost.h"
#include "shared/clock.h"
#include "shared/programfolder.h"
#include "ui/artwork.h"
#include "ui/guistart.h"

#include <QApplication>
#include <QSystemTrayIcon>

int RunGui(int& argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Scourwell"));
    app.setApplicationVersion(QStringLiteral(SCOURWELL_VERSION));
    app.setWindowIcon(Artwork::AppIcon());
    // The main window hides to the tray; only File > Exit ends the program.
    app.setQuitOnLastWindowClosed(false);

    const QString executableFolder = QCoreApplication::applicationDirPath();
    JobHost host(ResolveProgramFolder(executableFolder), executableFolder, Clock::System());
    StartOptions options{CommandLineAfterProgram(QCoreApplication::arguments()),
                         QSystemTrayIcon::isSystemTrayAvailable()};
    GuiStart start(std::move(options), host);
    if (!start.Begin())
        return 1;
    QObject::connect(&start, &GuiStart::ProgramEnded, &app, &QCoreApplication::quit);
    return app.exec();
}
