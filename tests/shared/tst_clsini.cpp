// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/bytetext.h"
#include "shared/clsini.h"
#include "shared/inidocument.h"
#include "support/inifiles.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace IniFiles;

class TestClsIni : public QObject
{
    Q_OBJECT

private:
    QString IniIn(const QTemporaryDir& dir) const { return dir.filePath("test.ini"); }

private Q_SLOTS:
    void read_data();
    void read();
    void write_data();
    void write();
    void deleteSection_data();
    void deleteSection();
    void untouchedWhenNothingChanges();
    void roundTripKeepsBytes_data();
    void roundTripKeepsBytes();
    void saveWhereParentIsAFile();
    void saveIntoReadOnlyFolder();
    void unreadableFileIsNotReplaced_data();
    void unreadableFileIsNotReplaced();
};

void TestClsIni::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("names without case") << QByteArray("[Sec]\r\nFolderLoc=/a\r\n") << "sEC"
                                        << "folderloc"
                                        << "/a";
    QTest::newRow("blanks around") << QByteArray("[s]\r\n k \t=  v v \t\r\n") << "s"
                                   << "k"
                                   << "v v";
    QTest::newRow("single blank") << QByteArray("[s]\r\nk= \r\n") << "s"
                                  << "k"
                                  << "";
    QTest::newRow("double quotes") << QByteArray("[s]\nk=\" a \"\n") << "s"
                                   << "k"
                                   << " a ";
    QTest::newRow("single quotes") << QByteArray("[s]\nk= 'x' \n") << "s"
                                   << "k"
                                   << "x";
    QTest::newRow("one pair only") << QByteArray("[s]\nk=\"\"x\"\"\n") << "s"
                                   << "k"
                                   << "\"x\"";
    QTest::newRow("mixed quotes stay") << QByteArray("[s]\nk=\"x'\n") << "s"
                                       << "k"
                                       << "\"x'";
    QTest::newRow("lone quote stays") << QByteArray("[s]\nk=\"\n") << "s"
                                      << "k"
                                      << "\"";
    QTest::newRow("equals in value") << QByteArray("[s]\nk=a=b\n") << "s"
                                     << "k"
                                     << "a=b";
    QTest::newRow("comments are not keys") << QByteArray("[s]\n#k=v\n;k=w\nk=x\n") << "s"
                                           << "k"
                                           << "x";
    QTest::newRow("key before any section") << QByteArray("k=v\n[s]\n") << "s"
                                            << "k"
                                            << "";
    QTest::newRow("missing key") << QByteArray("[s]\nk=v\n") << "s"
                                 << "j"
                                 << "";
    QTest::newRow("first of two sections") << QByteArray("[s]\nk=1\n[S]\nk=2\n") << "s"
                                           << "k"
                                           << "1";
    QTest::newRow("first of two keys") << QByteArray("[s]\nk=1\nK=2\n") << "s"
                                       << "k"
                                       << "1";
    QTest::newRow("section ends at next header") << QByteArray("[a]\nk=1\n[b]\nj=2\n") << "b"
                                                 << "k"
                                                 << "";
    QTest::newRow("blanks around header") << QByteArray("  [ s ] \n k=v\n") << "s"
                                          << "k"
                                          << "v";
    QTest::newRow("header without bracket") << QByteArray("[s\nk=v\n") << "s"
                                            << "k"
                                            << "";
    QTest::newRow("CR only") << QByteArray("[a]\rk=1\r[b]\rk=2\r") << "b"
                             << "k"
                             << "2";
    QTest::newRow("mixed line ends") << QByteArray("[a]\r\nk=1\n[b]\rk=2") << "b"
                                     << "k"
                                     << "2";
    QTest::newRow("no final line end") << QByteArray("[s]\nk=v") << "s"
                                       << "k"
                                       << "v";
    QTest::newRow("UTF-8") << QByteArray("[s]\nk=/tmp/Ärger ß\n") << "s"
                           << "k"
                           << "/tmp/Ärger ß";
    QTest::newRow("Latin-1 names kept apart")
        << QByteArray("[\xE9]\nk=1\n[\xC4]\nk=2\n") << TextFromBytes("\xC4") << "k"
        << "2";
    QTest::newRow("Latin-1 names and value")
        << QByteArray("[\xC4]\nk\xE9= \"caf\xE9 \" \n") << TextFromBytes("\xC4") << TextFromBytes("K\xE9")
        << TextFromBytes("caf\xE9 ");
    QTest::newRow("BOM") << QByteArray("\xEF\xBB\xBF[s]\nk=v\n") << "s"
                         << "k"
                         << "v";
    QTest::newRow("NUL byte") << QByteArray("[s]\nk=a\0b\n", 10) << "s"
                              << "k" << QString::fromUtf8("a\0b", 3);
    QTest::newRow("binary garbage") << QByteArray("\xff\x00[\x01\r\r\n=\xfe]\x80=\n\0\0", 16) << "s"
                                    << "k"
                                    << "";
    QTest::newRow("5000 characters whole") << QByteArray("[s]\r\nk=" + QByteArray(5000, 'x') + "\r\n") << "s"
                                           << "k" << QString(5000, 'x');
}

void TestClsIni::read()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    Write(IniIn(dir), content);
    clsIni ini;
    ini.SetIniPath(IniIn(dir));
    QCOMPARE(ini.GetIniSetting(section, key), expected);
}

void TestClsIni::write_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("writes"); // section, key, value, section, key, value...
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("missing file created with CRLF")
        << false << QByteArray() << QStringList{"Sec", "Key", "v", "Sec", "Two", "w"}
        << QByteArray("[Sec]\r\nKey=v\r\nTwo=w\r\n");
    QTest::newRow("replaced in place, spelling of the file kept")
        << true << QByteArray("# c\r\n[a]\r\nx=1\r\n k = old\r\ny=2\r\n\r\n[b]\r\nk=3\r\n")
        << QStringList{"A", "K", "new"}
        << QByteArray("# c\r\n[a]\r\nx=1\r\nk=new\r\ny=2\r\n\r\n[b]\r\nk=3\r\n");
    QTest::newRow("new key after the last key line")
        << true << QByteArray("[Initial]\r\nTotalJob=0\r\n\r\n# jobs\r\n[1]\r\n")
        << QStringList{"initial", "LookPurgeBy", "x"}
        << QByteArray("[Initial]\r\nTotalJob=0\r\nLookPurgeBy=x\r\n\r\n# jobs\r\n[1]\r\n");
    QTest::newRow("new key in a keyless section follows its header")
        << true << QByteArray("[a]\n; note\n") << QStringList{"a", "k", "v"}
        << QByteArray("[a]\nk=v\n; note\n");
    QTest::newRow("missing section appended, LF kept")
        << true << QByteArray("[a]\nk=1\n") << QStringList{"b", "k", "2"}
        << QByteArray("[a]\nk=1\n[b]\nk=2\n");
    QTest::newRow("CR only kept") << true << QByteArray("[a]\rk=1\r")
                                  << QStringList{"a", "k", "2", "a", "j", "3"}
                                  << QByteArray("[a]\rk=2\rj=3\r");
    QTest::newRow("last line without end")
        << true << QByteArray("[a]\nk=1") << QStringList{"a", "j", "2"} << QByteArray("[a]\nk=1\nj=2\n");
    QTest::newRow("last line without end keeps it when replaced")
        << true << QByteArray("[a]\nk=1") << QStringList{"a", "k", "2"} << QByteArray("[a]\nk=2");
    QTest::newRow("plain values stay plain")
        << true << QByteArray("[a]\r\n") << QStringList{"a", "k", "a b", "a", "j", "\"x", "a", "i", "'x\""}
        << QByteArray("[a]\r\nk=a b\r\nj=\"x\r\ni='x\"\r\n");
    // Quoted where the reader would trim the value or take its enclosing quotes.
    QTest::newRow("values that would change are quoted")
        << true << QByteArray("[a]\r\n") << QStringList{"a", "k", " ",   "a", "j", " a ", "a", "i", "\"x\"",
                                                        "a", "h", "'x'", "a", "g", "\tx", "a", "f", "x\v"}
        << QByteArray(
               "[a]\r\nk=\" \"\r\nj=\" a \"\r\ni=\"\"x\"\"\r\nh=\"'x'\"\r\ng=\"\tx\"\r\nf=\"x\v\"\r\n");
    QTest::newRow("bytes that are no UTF-8 pass through")
        << true << QByteArray("[caf\xE9]\r\nk\xE9=\xE9t\xE9\r\n")
        << QStringList{TextFromBytes("CAF\xE9"), TextFromBytes("K\xE9"), TextFromBytes("\xFF\xE9 ")}
        << QByteArray("[caf\xE9]\r\nk\xE9=\"\xFF\xE9 \"\r\n");
    QTest::newRow("line breaks in a value cannot add lines")
        << true << QByteArray("[a]\r\n") << QStringList{"a", "k", "x\r\n[Initial]\nTotalJob=9"}
        << QByteArray("[a]\r\nk=x  [Initial] TotalJob=9\r\n");
    QTest::newRow("unknown lines byte for byte")
        << true << QByteArray("junk \xff\xfe\r\n[a]\r\nnot a key\r\n=x\r\nk=1\r\n\xc3\xa4=2\r\n")
        << QStringList{"a", "k", "Ä"}
        << QByteArray("junk \xff\xfe\r\n[a]\r\nnot a key\r\n=x\r\nk=\xc3\x84\r\n\xc3\xa4=2\r\n");
    QTest::newRow("BOM kept") << true << QByteArray("\xEF\xBB\xBF[a]\r\nk=1\r\n")
                              << QStringList{"a", "k", "2"} << QByteArray("\xEF\xBB\xBF[a]\r\nk=2\r\n");
    QTest::newRow("5000 characters written whole")
        << true << QByteArray() << QStringList{"a", "k", QString(5000, 'z')}
        << QByteArray("[a]\r\nk=" + QByteArray(5000, 'z') + "\r\n");
}

void TestClsIni::write()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);
    QFETCH(QStringList, writes);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    if (exists)
        Write(IniIn(dir), before);
    clsIni ini;
    ini.SetIniPath(IniIn(dir));
    for (qsizetype i = 0; i + 2 < writes.size(); i += 3) {
        QVERIFY(ini.SaveIniSetting(writes[i], writes[i + 1], writes[i + 2]));
        // Each write is on disk at once, and leaves no temporary file behind.
        QString readBack = writes[i + 2];
        readBack.replace('\r', ' ').replace('\n', ' ');
        QCOMPARE(ini.GetIniSetting(writes[i], writes[i + 1]), readBack);
        QCOMPARE(Entries(dir.path()), QStringList{"test.ini"});
    }
    QCOMPARE(Read(IniIn(dir)), after);
}

void TestClsIni::deleteSection_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("header and all its lines")
        << QByteArray("[a]\r\nk=1\r\n\r\n[b]\r\n# c\r\nk=2\r\n\r\n[c]\r\nk=3\r\n") << "B"
        << QByteArray("[a]\r\nk=1\r\n\r\n[c]\r\nk=3\r\n");
    QTest::newRow("last section") << QByteArray("# top\n[a]\nk=1\n[b]\nk=2") << "b"
                                  << QByteArray("# top\n[a]\nk=1\n");
    QTest::newRow("every copy of the name") << QByteArray("[a]\n[b]\nk=1\n[A]\nk=2\n[ a ]\nk=3\n[c]\n[a]\n")
                                            << "a" << QByteArray("[b]\nk=1\n[c]\n");
    QTest::newRow("section not in the file")
        << QByteArray("[a]\r\nk=1\r\n") << "b" << QByteArray("[a]\r\nk=1\r\n");
}

void TestClsIni::deleteSection()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    Write(IniIn(dir), before);
    clsIni ini;
    ini.SetIniPath(IniIn(dir));
    QVERIFY(ini.DeleteSection(section));
    QCOMPARE(Read(IniIn(dir)), after);
}

void TestClsIni::untouchedWhenNothingChanges()
{
    // A read, or the removal of a section that is not there, neither creates nor rewrites.
    QTemporaryDir dir;
    clsIni ini;
    ini.SetIniPath(IniIn(dir));
    QCOMPARE(ini.GetIniSetting("a", "k"), QString());
    QVERIFY(ini.DeleteSection("a"));
    QVERIFY(!QFileInfo::exists(IniIn(dir)));

    Write(IniIn(dir), "[a]\nk=1\n");
    // Dated back, so that any rewrite would show in the modification time.
    const QDateTime past = QDateTime::currentDateTime().addDays(-1);
    {
        QFile file(IniIn(dir));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(past, QFileDevice::FileModificationTime));
    }
    QVERIFY(ini.DeleteSection("b"));
    QCOMPARE(ini.GetIniSetting("A", "K"), "1");
    QCOMPARE(QFileInfo(IniIn(dir)).lastModified(), past);
}

void TestClsIni::roundTripKeepsBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CRLF") << QByteArray("# c\r\n\r\n[a]\r\nk = v\r\n\r\n");
    QTest::newRow("mixed ends, no final end") << QByteArray("[a]\rk=1\n\r\n[b]\r\nj=\"2\"");
    QTest::newRow("garbage") << QByteArray("\0\xff[]\r\r\r=\n\n[x\x80]=\0", 16);
    QTest::newRow("Latin-1") << QByteArray("# \xE9t\xE9\r\n[\xC4]\r\nk\xE9=caf\xE9\r\n");
    QTest::newRow("BOM only") << QByteArray("\xEF\xBB\xBF");
}

void TestClsIni::roundTripKeepsBytes()
{
    QFETCH(QByteArray, bytes);
    QCOMPARE(IniDocument::FromBytes(bytes).ToBytes(), bytes);
}

void TestClsIni::saveWhereParentIsAFile()
{
    QTemporaryDir dir;
    Write(dir.filePath("plain"), "x");
    clsIni ini;
    ini.SetIniPath(dir.filePath("plain/test.ini"));
    QVERIFY(!ini.SaveIniSetting("a", "k", "v"));
    QCOMPARE(ini.GetIniSetting("a", "k"), QString());
    QCOMPARE(Read(dir.filePath("plain")), QByteArray("x"));
    QCOMPARE(Entries(dir.path()), QStringList{"plain"});
}

void TestClsIni::saveIntoReadOnlyFolder()
{
    QTemporaryDir dir;
    Write(IniIn(dir), "[a]\r\nk=old\r\n");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool stopped = PermissionsStopWrites(dir.path());
    if (stopped) {
        clsIni ini;
        ini.SetIniPath(IniIn(dir));
        QVERIFY(!ini.SaveIniSetting("a", "k", "new"));
        QVERIFY(!ini.DeleteSection("a"));
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!stopped)
        QSKIP("running with rights that write into read-only folders");
    QCOMPARE(Read(IniIn(dir)), QByteArray("[a]\r\nk=old\r\n"));
    QCOMPARE(Entries(dir.path()), QStringList{"test.ini"});
}

void TestClsIni::unreadableFileIsNotReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a folder in its place") << "folder";
    QTest::newRow("a file that cannot be read") << "unreadable";
}

void TestClsIni::unreadableFileIsNotReplaced()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir("test.ini"));
        Write(IniIn(dir) + "/inside", "kept");
    } else {
        Write(IniIn(dir), "[a]\nk=1\n");
        QFile::setPermissions(IniIn(dir), QFile::WriteOwner);
        QFile probe(IniIn(dir));
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("running with rights that read unreadable files");
    }
    clsIni ini;
    ini.SetIniPath(IniIn(dir));
    QCOMPARE(ini.GetIniSetting("a", "k"), QString());
    QVERIFY(!ini.SaveIniSetting("a", "j", "2"));
    QVERIFY(!ini.DeleteSection("a"));
    if (kind == "folder") {
        QCOMPARE(Read(IniIn(dir) + "/inside"), QByteArray("kept"));
    } else {
        QFile::setPermissions(IniIn(dir), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(Read(IniIn(dir)), QByteArray("[a]\nk=1\n"));
    }
}

QTEST_APPLESS_MAIN(TestClsIni)
#include "tst_clsini.moc"
