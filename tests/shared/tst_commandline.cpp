// SPDX-License-Identifier: GPL-3.0-or-later
#include <QProcess>
#include <QTest>

// Both programs answer these before they make a window, so no display is given to them.
class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
};

void TestCommandLine::answers_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // what stdout begins with
    QTest::addColumn<QString>("err"); // what stderr contains

    const QString version = QStringLiteral(" " SCOURWELL_VERSION "\n");
    for (const char* name : {SCOURWELL_EXECUTABLE, QUILLON_EXECUTABLE}) {
        const QString program = QString::fromLocal8Bit(name);
        const QString base = QFileInfo(program).fileName();
        const auto row = [&](const char* tag) -> QTestData& {
            return QTest::addRow("%s: %s", qPrintable(base), tag) << program;
        };
        row("version") << QStringList{"--version"} << 0 << base + version << "";
        row("help") << QStringList{"--help"} << 0 << "Usage: " + base << "";
        row("-h") << QStringList{"-h"} << 0 << "Usage: " + base << "";
        row("after Qt's options") << QStringList{"-platform", "offscreen", "--style=fusion", "-reverse",
                                                 "--version"}
                                  << 0 << base + version << "";
        row("unknown switch") << QStringList{"--frobnicate"} << 2 << ""
                              << base + ": unknown option: --frobnicate";
        row("unknown after a Qt option") << QStringList{"-style", "fusion", "-x"} << 2 << ""
                                         << "unknown option: -x";
        row("Qt option without its value") << QStringList{"-platform"} << 2 << ""
                                           << "option needs a value: -platform";
    }
    QTest::newRow("quillon takes no words")
        << QString::fromLocal8Bit(QUILLON_EXECUTABLE) << QStringList{"/systray"} << 2 << ""
        << "unexpected argument: /systray";
}

void TestCommandLine::answers()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    const QString stdOut = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString stdErr = QString::fromLocal8Bit(process.readAllStandardError());
    QCOMPARE(stdOut.left(out.size()), out);
    QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
    QCOMPARE(stdErr.isEmpty(), status == 0);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
