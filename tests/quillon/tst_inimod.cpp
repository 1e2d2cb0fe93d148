#include "quillon/fakes.h"
#include "quillon/inimod.h"

#include <QTemporaryDir>
#include <QTest>

using quillon::IniMod;

Q_DECLARE_METATYPE(std::optional<bool>)

class TestIniMod : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void DefaultFileReplacesAnyOld();
    void LoadReadsTheThreeKeys();
    void Lock_data();
    void Lock();
    void SaveWritesOnlyWhenUnlocked_data();
    void SaveWritesOnlyWhenUnlocked();
    void SaveAppendsMissingKeysInOrder();
};

void TestIniMod::DefaultFileReplacesAnyOld()
{
    QTemporaryDir dir;
    IniMod settings(dir.path());
    QVERIFY(!settings.SettingsFileExists());
    WriteFile(dir.path() + "/quillon.ini", "[init]\nlock=false\nfolder=/old\n");
    QVERIFY(settings.CreateDefaultSettings());
    QCOMPARE(ReadFile(dir.path() + "/quillon.ini"),
             QByteArray("[init]\r\nlock=true\r\nfolder=\r\nfilter=.htm\r\nviewer=xdg-open\r\n"));
    settings.LoadSettings();
    QCOMPARE(settings.Current().filter, ".htm");
    QCOMPARE(settings.Current().viewer, "xdg-open");
    QVERIFY(settings.Lock() == true);
}

void TestIniMod::LoadReadsTheThreeKeys()
{
    QTemporaryDir dir;
    WriteFile(dir.path() + "/quillon.ini", "[init]\nFolder=/var/my logs\nviewer=gedit --new-window\n");
    IniMod settings(dir.path());
    settings.LoadSettings();
    QCOMPARE(settings.Current().folder, "/var/my logs");
    QCOMPARE(settings.Current().filter, "");
    QCOMPARE(settings.Current().viewer, "gedit --new-window");
}

void TestIniMod::Lock_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<std::optional<bool>>("expected");
    QTest::newRow("true") << "true" << std::optional<bool>(true);
    QTest::newRow("TRUE") << "TRUE" << std::optional<bool>(true);
    QTest::newRow("False") << "False" << std::optional<bool>(false);
    QTest::newRow("FALSE") << "FALSE" << std::optional<bool>(false);
    QTest::newRow("no truth value") << "yes" << std::optional<bool>();
    QTest::newRow("empty") << "" << std::optional<bool>();
}

void TestIniMod::Lock()
{
    QFETCH(QString, value);
    QFETCH(std::optional<bool>, expected);
    QTemporaryDir dir;
    WriteQuillonIni(dir.path(), value, "/logs");
    QVERIFY(IniMod(dir.path()).Lock() == expected);
}

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
    const QByteArray before = ReadFile(dir.path() + "/quillon.ini");

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
        QCOMPARE(ReadFile(dir.path() + "/quillon.ini"), before);
    }
}

void TestIniMod::SaveAppendsMissingKeysInOrder()
{
    QTemporaryDir dir;
    WriteFile(dir.path() + "/quillon.ini", "[init]\nlock=false\n");
    IniMod settings(dir.path());
    settings.SetCurrent({"/logs", ".txt", "xdg-open"});
    QVERIFY(settings.SaveSettings());
    const QString text = QString::fromUtf8(ReadFile(dir.path() + "/quillon.ini"));
    const qsizetype folder = text.indexOf("folder=/logs");
    const qsizetype filter = text.indexOf("filter=.txt");
    const qsizetype viewer = text.indexOf("viewer=xdg-open");
    QVERIFY(folder > 0 && folder < filter && filter < viewer);
}

QTEST_APPLESS_MAIN(TestIniMod)
#include "tst_inimod.moc"
