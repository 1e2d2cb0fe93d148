#include "config/programfolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestProgramFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rule_data();
    void rule();
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

QTEST_APPLESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
