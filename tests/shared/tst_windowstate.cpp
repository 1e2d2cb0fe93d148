// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/windowstate.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(std::optional<QPoint>)
Q_DECLARE_METATYPE(std::optional<QSize>)

class TstWindowState : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString Path() const { return m_dir.filePath(QStringLiteral("windows.ini")); }
    void Write(const QByteArray& bytes)
    {
        QFile file(Path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray Read() const
    {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void cleanup() { QFile::remove(Path()); }

    void roundTripKeepsTheRestOfTheFile()
    {
        Write("; by hand\r\n[other]\r\nkey=value\r\n");
        const WindowState saved{QPoint(-20, 35),   QSize(900, 500), true, {300, 71, 0}, 880,
                                ListSort{6, false}};
        QVERIFY(SaveWindowState(Path(), QStringLiteral("frmMain"), saved));
        const WindowState loaded = LoadWindowState(Path(), QStringLiteral("frmMain"));
        QCOMPARE(loaded.position, saved.position);
        QCOMPARE(loaded.size, saved.size);
        QCOMPARE(loaded.maximized, true);
        QCOMPARE(loaded.columnWidths, saved.columnWidths);
        QCOMPARE(loaded.listWidth, saved.listWidth);
        QVERIFY(loaded.sort && loaded.sort->column == 6 && !loaded.sort->ascending);
        QVERIFY(Read().startsWith("; by hand\r\n[other]\r\nkey=value\r\n[frmMain]\r\n"));

        // What is no longer known goes from the file rather than coming back at the next start.
        QVERIFY(SaveWindowState(Path(), QStringLiteral("frmMain"), WindowState{}));
        QCOMPARE(Read(), QByteArray("; by hand\r\n[other]\r\nkey=value\r\n[frmMain]\r\nMaximized=0\r\n"));
    }

    void brokenValuesAreIgnoredOneByOne_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<std::optional<QPoint>>("position");
        QTest::addColumn<std::optional<QSize>>("size");
        QTest::addColumn<QList<int>>("columns");
        QTest::addColumn<bool>("sorted");

        const std::optional<QPoint> noPlace;
        const std::optional<QSize> noSize;
        const QByteArray size = "Width=640\nHeight=480\n";
        QTest::newRow("words") << QByteArray("Left=left\nTop=10\n") + size << noPlace
                               << std::optional(QSize(640, 480)) << QList<int>{} << false;
        QTest::newRow("beyond any screen") << QByteArray("Left=5\nTop=6\nWidth=4000000\nHeight=480\n")
                                           << std::optional(QPoint(5, 6)) << noSize << QList<int>{} << false;
        QTest::newRow("one column unreadable") << QByteArray("ColumnWidths=120,x,-3, 80\n") << noPlace
                                               << noSize << QList<int>{120, 0, 0, 80} << false;
        QTest::newRow("sort direction a word")
            << QByteArray("SortColumn=2\nSortAscending=yes\n") << noPlace << noSize << QList<int>{} << false;
        QTest::newRow("binary") << QByteArray("Left=\xff\xfe\nTop=\0\n", 14) + size << noPlace
                                << std::optional(QSize(640, 480)) << QList<int>{} << false;
    }

    void brokenValuesAreIgnoredOneByOne()
    {
        QFETCH(QByteArray, keys);
        Write("[frmMain]\n" + keys + "Maximized=2\n");
        const WindowState state = LoadWindowState(Path(), QStringLiteral("frmMain"));
        QTEST(state.position, "position");
        QTEST(state.size, "size");
        QTEST(state.columnWidths, "columns");
        QTEST(state.sort.has_value(), "sorted");
        QVERIFY(!state.maximized);
    }

    void fitOnScreen_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<std::optional<QPoint>>("position");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("expected");

        const std::optional<QPoint> none;
        // A frame of 4 pixels with a title bar of 24 above.
        const QRect small(0, 0, 1024, 740);
        QTest::newRow("default on 1024x768, centred")
            << QSize(820, 460) << none << small << QRect(102, 150, 820, 460);
        // 1600x1000 at scale 2, a panel of 28 device pixels below.
        const QRect scaled(0, 0, 800, 486);
        QTest::newRow("default at scale 2 fills the screen")
            << QSize(820, 460) << none << scaled << QRect(4, 24, 792, 458);
        QTest::newRow("partly off the right moves in")
            << QSize(600, 400) << std::optional(QPoint(700, 100)) << small << QRect(420, 100, 600, 400);
        QTest::newRow("on a screen no longer there, centred")
            << QSize(600, 400) << std::optional(QPoint(2500, 300)) << small << QRect(212, 180, 600, 400);
        QTest::newRow("on a second screen at the left")
            << QSize(600, 400) << std::optional(QPoint(-1200, 300)) << QRect(-1280, 0, 1280, 1024)
            << QRect(-1200, 300, 600, 400);
    }

    void fitOnScreen()
    {
        QFETCH(QSize, size);
        QFETCH(std::optional<QPoint>, position);
        QFETCH(QRect, available);
        const QMargins frame(4, 24, 4, 4);
        const QRect fitted = FitOnScreen(size, position, frame, available);
        QTEST(fitted, "expected");
        QVERIFY(available.contains(fitted.marginsAdded(frame)));
    }
};

QTEST_APPLESS_MAIN(TstWindowState)
#include "tst_windowstate.moc"
