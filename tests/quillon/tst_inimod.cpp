// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon/fakes.h"
#include "quillon/inimod.h"

#include <QTemporaryDir>
#include <QTest>

using quillon::IniMod;

class TestIniMod : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void SaveWritesOnlyWhenUnlocked_data();
    void SaveWritesOnlyWhenUnlocked();
    void SaveAppendsMissingKeysInOrder();
};

void TestIniMod::SaveWritesOnlyWhenUnlocked_data()
{
    QTest::addColumn<QString>("lock");
    QTest::addColumn<bool>("written");
    QTest::newRow("true") << "true" << false;
    QTest::newRow("TrUe") << "TrUe" << false;
    QTest::newRow("false") << "false" << true;
    QTest::newRow("FALSE") << "FALSE" << true;
    QTest::newRow("no truth value keeps the file") << "0" << false;
}

void TestIniMod::SaveWritesOnlyWhenUnlocked()
{
    QFETCH(QString, lock);
    QFETCH(bool, written);
    QTemporaryDir dir;
    WriteQuillonIni(dir.path(), lock, "/old", ".htm", "xdg-open");
    const QByteArray before = IniFiles::Read(dir.path() + "/quillon.ini");

    IniMod settings(dir.path());
    settings.SetCurrent({"/new logs", ".log", "gedit"});
    QVERIFY(settings.SaveSettings());

    IniMod reread(dir.path());
    reread.LoadSettings();
    if (written) {
        QCOMPARE(reread.Current().folder, "/new logs");
        QCOMPARE(reread.Current().filter, ".log");
        QCOMPARE(reread.Current().viewer, "gedit");
    } else {
        QCOMPARE(IniFiles::Read(dir.path() + "/quillon.ini"), before);
    }
}

void TestIniMod::SaveAppendsMissingKeysInOrder()
{
    QTemporaryDir dir;
    WriteFile(dir.path() + "/quillon.ini", "[init]\nlock=false\n");
    IniMod settings(dir.path());
    settings.SetCurrent({"/logs", ".txt", "xdg-open"});
    QVERIFY(settings.SaveSettings());
    const QString text = QString::fromUtf8(IniFiles::Read(dir.path() + "/quillon.ini"));
    const qsizetype folder = text.indexOf("folder=/logs");
    const qsizetype filter = text.indexOf("filter=.txt");
    const qsizetype viewer = text.indexOf("viewer=xdg-open");
    QVERIFY(folder > 0 && folder < filter && filter < viewer);
}

QTEST_APPLESS_MAIN(TestIniMod)
#include "tst_inimod.moc"
