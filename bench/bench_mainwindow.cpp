// SPDX-License-Identifier: GPL-3.0-or-later
// The main window over 10,000 jobs, offscreen: from the init window's timer to the main
// window shown (goal within 1 s); a column sort, a selection and each timer tick, each with
// the repaint that follows (goal under 100 ms each).
#include "config/jobtable.h"
#include "purge/stringhandling.h"
#include "schedule/jobhost.h"
#include "shared/clock.h"
#include "ui/frmmain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Jobs = 10000;
constexpr int Runs = 7;

// Runs whatever the work queued (layout, paint) before the clock stops.
void Settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

double MedianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        Settle();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// One job in ten names a folder that is gone, as in a list that has aged.
void WriteJobs(const QString& programFolder, const QString& jobFolder)
{
    QString text =
        QStringLiteral("[Initial]\r\nLookPurgeBy=Date: Last Modified\r\nDeleteSpecific=0\r\nTotalJob=") +
        QString::number(Jobs) + QStringLiteral("\r\n");
    for (int i = 0; i < Jobs; ++i) {
        const QString folder = i % 10 ? jobFolder : jobFolder + QStringLiteral("/gone") + QString::number(i);
        const QDateTime next = QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(qint64(i) * 7919 * 60);
        text += QStringLiteral("[%1]\r\n").arg(i + 1) + QStringLiteral("FolderLoc=") + folder +
                QStringLiteral("\r\nStatus=") +
                (i % 3 ? QStringLiteral("Enabled") : QStringLiteral("Disabled")) +
                QStringLiteral("\r\nValPurge=") + QString::number(i % 90 + 1) +
                QStringLiteral("\r\nValOfPurge=Day") +
                QStringLiteral("\r\nStyle=Routine\r\nFileFolderStyle=Files Only\r\nValEvery=") +
                QString::number(i % 12 + 1) + QStringLiteral("\r\nValOfEvery=Hour\r\nNextRun=") +
                QLocale::c().toString(next, QStringLiteral("MM/dd/yyyy hh:mm AP")) +
                QStringLiteral("\r\nDescription=Job number ") + QString::number(i) + QStringLiteral("\r\n");
    }
    QFile file(programFolder + QStringLiteral("/ConfigDat.ini"));
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
}

void Report(const char* what, double ms, double goalMs)
{
    std::printf("%-46s %9.1f ms   (goal < %.0f ms) %s\n", what, ms, goalMs, ms < goalMs ? "ok" : "OVER");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString programFolder = dir.path();
    const QString jobFolder = dir.filePath(QStringLiteral("jobs"));
    QDir().mkpath(jobFolder);
    WriteJobs(programFolder, jobFolder);
    ResetStatusDump(programFolder);

    std::unique_ptr<frmMain> main;
    std::unique_ptr<JobHost> host;
    // What the init window's tick does: make the main window, load it and show it.
    const double open = MedianMs(Runs, [&] {
        main.reset();
        host =
            std::make_unique<JobHost>(programFolder, QCoreApplication::applicationDirPath(), Clock::System());
        main = std::make_unique<frmMain>(*host, true);
        main->show();
    });
    std::printf("%d jobs loaded, %d shown as rows\n", main->Table().Count(),
                main->List()->model()->rowCount());
    Report("init timer to main window shown", open, 1000);

    QHeaderView* header = main->List()->header();
    const double sortText = MedianMs(Runs, [&] { Q_EMIT header->sectionClicked(0); });
    Report("column sort, text (Folder Location)", sortText, 100);
    const double sortNumber = MedianMs(Runs, [&] { Q_EMIT header->sectionClicked(1); });
    Report("column sort, number (Value)", sortNumber, 100);
    const double sortDate = MedianMs(Runs, [&] { Q_EMIT header->sectionClicked(6); });
    Report("column sort, date (Next Run)", sortDate, 100);

    QTreeView* list = main->List();
    int row = 0;
    const double select = MedianMs(Runs * 3, [&] {
        row = (row + 1237) % Jobs;
        list->setCurrentIndex(list->model()->index(row, 0));
        list->scrollTo(list->currentIndex());
    });
    Report("selection of a row", select, 100);

    const double checkJob = MedianMs(Runs * 3, [&] { host->TimerCheckJob_Timer(); });
    Report("TimerCheckJob tick (nothing due)", checkJob, 100);
    bool marked = false;
    // Alternates between the 9,000 rows of the job folder turning to the running icon and back.
    const double checkStat = MedianMs(Runs * 3, [&] {
        marked = !marked;
        if (!marked)
            ResetStatusDump(programFolder);
        else
            AddTextToFile(programFolder + QStringLiteral("/statdump.tmp"), jobFolder);
        host->TimerCheckStat_Timer();
    });
    Report("TimerCheckStat tick (9,000 icons change)", checkStat, 100);
    main.reset();
    host.reset();
    return 0;
}
