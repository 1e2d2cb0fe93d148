// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/autostart.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The Exec key read as a desktop would: string escapes, then quoting, then %%. Unused where
// the program is not built (core-only builds).
[[maybe_unused]] QStringList ExecArguments(const QByteArray& entry)
{
    QString exec;
    for (const QByteArray& line : entry.split('\n')) {
        if (line.startsWith("Exec="))
            exec = QString::fromUtf8(line.mid(5));
    }
    QString value;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        if (exec[i] == u'\\' && i + 1 < exec.size()) {
            const QChar next = exec[++i];
            value += next == u'n'   ? QChar(u'\n')
                     : next == u't' ? QChar(u'\t')
                     : next == u's' ? QChar(u' ')
                                    : next;
        } else {
            value += exec[i];
        }
    }
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (quoted && c == u'\\' && i + 1 < value.size()) {
            current += value[++i];
        } else if (c == u'"') {
            quoted = !quoted;
            any = true;
        } else if (c == u' ' && !quoted) {
            if (any || !current.isEmpty())
                arguments << current.replace(QStringLiteral("%%"), QStringLiteral("%"));
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty())
        arguments << current.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return arguments;
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestAutostart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void state_data();
    void state();
    void switchingOnAndOff();
    void failureKeepsTheOldState();
    void entryStartsWhatItNames();
    void userEntryFollowsXdg_data();
    void userEntryFollowsXdg();
};

void TestAutostart::state_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file
    QTest::addColumn<bool>("enabled");

    QTest::newRow("no file") << QByteArray() << false;
    QTest::newRow("ours") << AutostartEntry(QStringLiteral("/usr/bin/scourwell")) << true;
    QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nExec=scourwell /systray\nHidden=true\n") << false;
    QTest::newRow("hidden with blanks") << QByteArray("[Desktop Entry]\r\nHidden = true\r\n") << false;
    QTest::newRow("hidden false") << QByteArray("[Desktop Entry]\nHidden=false\n") << true;
    QTest::newRow("hidden in another group")
        << QByteArray("[Desktop Entry]\nExec=x\n[Desktop Action a]\nHidden=true\n") << true;
    QTest::newRow("keys match with case") << QByteArray("[Desktop Entry]\nhidden=true\n") << true;
}

void TestAutostart::state()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, enabled);
    QTemporaryDir dir;
    const QString path = AutostartEntryPath(dir.path());
    QCOMPARE(path, dir.path() + QStringLiteral("/autostart/scourwell.desktop"));
    if (!content.isEmpty()) {
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("autostart"))));
        Write(path, content);
    }
    QCOMPARE(IsAutostartEnabled(path), enabled);
}

void TestAutostart::switchingOnAndOff()
{
    QTemporaryDir dir;
    const QString path = AutostartEntryPath(dir.path());
    QCOMPARE(SetAutostart(path, QStringLiteral("/opt/s/scourwell"), false), QString()); // nothing to remove
    QCOMPARE(SetAutostart(path, QStringLiteral("/opt/s/scourwell"), true), QString());
    QVERIFY(IsAutostartEnabled(path));
    // A Hidden=true entry is off; switching on replaces it with ours.
    Write(path, "[Desktop Entry]\nHidden=true\n");
    QVERIFY(!IsAutostartEnabled(path));
    QCOMPARE(SetAutostart(path, QStringLiteral("/opt/s/scourwell"), true), QString());
    QVERIFY(IsAutostartEnabled(path));
    QCOMPARE(SetAutostart(path, QStringLiteral("/opt/s/scourwell"), false), QString());
    QVERIFY(!QFileInfo::exists(path));
}

void TestAutostart::failureKeepsTheOldState()
{
    QTemporaryDir dir;
    // A file where the folder should be: root could write anywhere else.
    Write(dir.filePath(QStringLiteral("autostart")), "not a folder");
    const QString path = AutostartEntryPath(dir.path());
    const QString problem = SetAutostart(path, QStringLiteral("/usr/bin/scourwell"), true);
    QVERIFY2(problem.contains(path), qPrintable(problem));
    QVERIFY(!IsAutostartEnabled(path));
}

void TestAutostart::entryStartsWhatItNames()
{
#ifndef SCOURWELL_EXECUTABLE
    QSKIP("built without the scourwell program");
#else
    QTemporaryDir dir;
    // Every character the Exec quoting rules treat specially.
    const QString folder = dir.filePath(QStringLiteral("a b \"q\" $HOME `x` \\ 100% it's;#&|<>~*?()"));
    QVERIFY(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/scourwell");
    QVERIFY(QFile::link(QStringLiteral(SCOURWELL_EXECUTABLE), program));
    const QString path = AutostartEntryPath(dir.path());
    QCOMPARE(SetAutostart(path, program, true), QString());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList arguments = ExecArguments(file.readAll());
    QCOMPARE(arguments, (QStringList{program, QStringLiteral("/systray")}));
    QProcess process;
    process.start(arguments[0], {QStringLiteral("--version")});
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardOutput(), QByteArray("scourwell " SCOURWELL_VERSION "\n"));

    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed");
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, {path});
    QVERIFY(validate.waitForFinished(10000));
    QVERIFY2(validate.exitCode() == 0, validate.readAll().constData());
#endif
}

void TestAutostart::userEntryFollowsXdg_data()
{
    QTest::addColumn<QByteArray>("xdgConfigHome"); // "<root>" stands for the temporary root
    QTest::addColumn<QString>("configHome");
    QTest::newRow("absolute") << QByteArray("<root>/cfg") << "<root>/cfg";
    QTest::newRow("relative is ignored") << QByteArray("cfg") << "<root>/home/.config";
    QTest::newRow("empty is ignored") << QByteArray() << "<root>/home/.config";
}

void TestAutostart::userEntryFollowsXdg()
{
    QFETCH(QByteArray, xdgConfigHome);
    QFETCH(QString, configHome);
    QTemporaryDir root;
    qputenv("HOME", QFile::encodeName(root.filePath(QStringLiteral("home"))));
    qputenv("XDG_CONFIG_HOME", xdgConfigHome.replace("<root>", QFile::encodeName(root.path())));
    QCOMPARE(UserAutostartEntryPath(),
             AutostartEntryPath(configHome.replace(QStringLiteral("<root>"), root.path())));
}

QTEST_GUILESS_MAIN(TestAutostart)
#include "tst_autostart.moc"
