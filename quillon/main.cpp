#include "config/programfolder.h"
#include "quillon/asker.h"
#include "quillon/frmmain.h"
#include "quillon/processstarter.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName("Quillon");
    app.setApplicationVersion(SCOURWELL_VERSION);

    quillon::DialogAsker asker;
    quillon::DetachedProcessStarter starter;
    quillon::frmMain window(ResolveProgramFolder(QCoreApplication::applicationDirPath()), asker, starter);
    window.show();
    return app.exec();
}
