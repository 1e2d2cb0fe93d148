// SPDX-License-Identifier: GPL-3.0-or-later
// The preview of 1,000,000 old files (/dev/shm, else the temporary folder): how long it takes
// to list them all against find listing the same (goal: 1.2 times at most), and the longest
// the window's thread is kept from its events meanwhile (goal: 50 ms at most), also when
// "show what is kept" is switched on and off over the full list.
#include "purge/purgeengine.h"
#include "shared/clock.h"
#include "ui/previewwindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Folders = 100;
constexpr int FilesPerFolder = 10000;
constexpr int Rounds = 3;
constexpr int TickMs = 5;

void MakeOldFiles(const QString& root)
{
    const timespec old{1000000000, 0};
    const timespec times[2] = {old, old};
    for (int d = 0; d < Folders; ++d) {
        const QString folder = root + QStringLiteral("/d%1").arg(d);
        QDir().mkpath(folder);
        for (int i = 0; i < FilesPerFolder; ++i) {
            const QByteArray path = QFile::encodeName(folder + QStringLiteral("/f%1").arg(i));
            const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
            ::futimens(fd, times);
            ::close(fd);
        }
    }
}

double FindMilliseconds(const QString& root)
{
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    find.start(QStringLiteral("find"),
               {root, QStringLiteral("-mindepth"), QStringLiteral("2"), QStringLiteral("-type"),
                QStringLiteral("f"), QStringLiteral("-mmin"), QStringLiteral("+1440")});
    find.waitForFinished(-1);
    return timer.nsecsElapsed() / 1e6;
}

double ThreadCpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The longest stretch, beyond the tick itself, in which a timer of the window's thread could
// not fire while work runs there: as wall time, which includes the time a busy machine gives
// to other programs, and as the thread's own processor time, which is the work that blocked it.
class BlockWatch
{
public:
    BlockWatch()
    {
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            m_longestWall = std::max(m_longestWall, m_since.nsecsElapsed() / 1e6 - TickMs);
            const double cpu = ThreadCpuMs();
            m_longestCpu = std::max(m_longestCpu, cpu - m_cpuSince);
            m_since.restart();
            m_cpuSince = cpu;
        });
        m_tick.setTimerType(Qt::PreciseTimer);
        m_tick.start(TickMs);
        m_since.start();
        m_cpuSince = ThreadCpuMs();
    }
    double LongestWall() const { return m_longestWall; }
    double LongestCpu() const { return m_longestCpu; }

private:
    QTimer m_tick;
    QElapsedTimer m_since;
    double m_cpuSince = 0;
    double m_longestWall = 0;
    double m_longestCpu = 0;
};

struct PreviewFigures
{
    double listMs = 0;
    double blockMs = 0;
    double blockCpuMs = 0;
    double toggleBlockMs = 0;
    qint64 rows = 0;
};

PreviewFigures Preview(const QString& root)
{
    PurgeRequest request = *PurgeRequestOf(PurgeStyle::IncludeFilesInSubfolders, root, QStringLiteral("1"),
                                           QStringLiteral("Day"), QStringLiteral("Date: Last Modified"));
    PreviewFigures figures;
    QElapsedTimer timer;
    timer.start();
    PreviewWindow window(std::move(request), Clock::System());
    window.show();
    {
        BlockWatch watch;
        while (!window.IsFinished())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        figures.listMs = timer.nsecsElapsed() / 1e6;
        figures.blockMs = watch.LongestWall();
        figures.blockCpuMs = watch.LongestCpu();
    }
    auto* showKept = window.findChild<QCheckBox*>(QStringLiteral("chkShowKept"));
    {
        BlockWatch watch;
        for (bool on : {true, false}) {
            QTimer::singleShot(0, showKept, [showKept, on] { showKept->setChecked(on); });
            QElapsedTimer settle;
            settle.start();
            while (settle.elapsed() < 300)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        figures.toggleBlockMs = watch.LongestCpu();
    }
    figures.rows = window.findChild<QAbstractItemView*>()->model()->rowCount();
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/bench_preview-XXXXXX"));
    std::printf("making %d files in %s ...\n", Folders * FilesPerFolder, qPrintable(dir.path()));
    std::fflush(stdout);
    MakeOldFiles(dir.path());

    std::vector<double> find, list, block, blockCpu, toggle;
    for (int round = 0; round < Rounds; ++round) {
        find.push_back(FindMilliseconds(dir.path()));
        const PreviewFigures figures = Preview(dir.path());
        list.push_back(figures.listMs);
        block.push_back(figures.blockMs);
        blockCpu.push_back(figures.blockCpuMs);
        toggle.push_back(figures.toggleBlockMs);
        std::printf(
            "round %d: find %.0f ms, preview %.0f ms (%lld rows), window thread blocked at most %.1f ms "
            "(%.1f ms of its own work) while listing, %.1f ms on show kept\n",
            round + 1, find.back(), list.back(), static_cast<long long>(figures.rows), block.back(),
            blockCpu.back(), toggle.back());
        std::fflush(stdout);
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const auto most = [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); };
    std::printf(
        "median: find %.0f ms, preview %.0f ms = %.2fx find (goal 1.2x); window thread blocked at most "
        "%.1f ms (%.1f ms of its own work; goal 50 ms), %.1f ms on show kept\n",
        median(find), median(list), median(list) / median(find), most(block), most(blockCpu), most(toggle));
    return 0;
}
