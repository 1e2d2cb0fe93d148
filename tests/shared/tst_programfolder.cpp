// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/programfolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestProgramFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rule_data();
    void rule();
    void configHome_data();
    void configHome();
};

void TestProgramFolder::rule_data()
{
    QTest::addColumn<QString>("executableIn"); // a folder below the temporary root
    QTest::addColumn<QString>("installedBin");
    QTest::addColumn<bool>("configFolder");

    QTest::newRow("portable copy") << "build/bin"
                                   << "usr/bin" << false;
    // root can write /usr/bin: an installed program must still keep its files per user.
    QTest::newRow("installed") << "usr/bin"
                               << "usr/bin" << true;
    QTest::newRow("installed, reached through a link") << "bin"
                                                       << "usr/bin" << true;
    QTest::newRow("installed, path not clean") << "usr/bin"
                                               << "usr/lib/../bin/" << true;
    QTest::newRow("missing folder") << "gone"
                                    << "usr/bin" << true;
}

void TestProgramFolder::rule()
{
    QFETCH(QString, executableIn);
    QFETCH(QString, installedBin);
    QFETCH(bool, configFolder);

    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("build/bin")));
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("usr/bin")));
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("usr/lib")));
    QVERIFY(QFile::link(root.filePath(QStringLiteral("usr/bin")), root.filePath(QStringLiteral("bin"))));
    const QString configHome = root.filePath(QStringLiteral("config"));
    qputenv("XDG_CONFIG_HOME", configHome.toLocal8Bit());

    const QString executableFolder = root.filePath(executableIn);
    const QString folder = ResolveProgramFolder(executableFolder, root.filePath(installedBin));
    QCOMPARE(folder, configFolder ? configHome + QStringLiteral("/scourwell") : executableFolder);
    if (configFolder)
        QVERIFY(QFileInfo(folder).isDir());
}

void TestProgramFolder::configHome_data()
{
    QTest::addColumn<QString>("xdgConfigHome"); // "<root>" stands for the temporary root
    QTest::addColumn<bool>("set");
    QTest::addColumn<QString>("expected");

    QTest::newRow("absolute") << "<root>/cfg" << true << "<root>/cfg";
    QTest::newRow("absolute, not clean") << "<root>/cfg/../cfg/" << true << "<root>/cfg";
    // The XDG rule: a relative path is ignored, else it would depend on the working folder.
    QTest::newRow("relative") << "cfg" << true << "<root>/home/.config";
    QTest::newRow("empty") << "" << true << "<root>/home/.config";
    QTest::newRow("unset") << "" << false << "<root>/home/.config";
}

void TestProgramFolder::configHome()
{
    QFETCH(QString, xdgConfigHome);
    QFETCH(bool, set);
    QFETCH(QString, expected);

    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("home")));
    qputenv("HOME", root.filePath(QStringLiteral("home")).toLocal8Bit());
    if (set)
        qputenv("XDG_CONFIG_HOME", QString(xdgConfigHome).replace("<root>", root.path()).toLocal8Bit());
    else
        qunsetenv("XDG_CONFIG_HOME");
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(root.path()));

    expected.replace("<root>", root.path());
    QCOMPARE(ConfigHome(), expected);
    const QString folder =
        ResolveProgramFolder(root.filePath(QStringLiteral("gone")), QStringLiteral("/usr/bin"));
    QVERIFY(QDir::setCurrent(before));
    QCOMPARE(folder, expected + QStringLiteral("/scourwell"));
    QVERIFY(QFileInfo(folder).isDir());
    // Nothing is made under the working folder.
    QCOMPARE(QFileInfo::exists(root.filePath(QStringLiteral("cfg"))),
             expected.endsWith(QStringLiteral("/cfg")));
}

QTEST_APPLESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
