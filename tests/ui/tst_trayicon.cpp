#include "ui/trayicon.h"

#include <QTest>
#include <QWidget>

class TestTrayIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void Texts();
    void Activation_data();
    void Activation();
    void NoWindowYet();
};

void TestTrayIcon::Texts()
{
    TrayIcon tray(QIcon(), [] { return static_cast<QWidget*>(nullptr); });
    QCOMPARE(tray.Icon().toolTip(), QStringLiteral("Orvik's Scourwell"));
    QCOMPARE(TrayIcon::BalloonTitle(),
             QStringLiteral("Orvik's Scourwell Ver. ") + QStringLiteral(SCOURWELL_VERSION));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$"))
                .match(QStringLiteral(SCOURWELL_VERSION))
                .hasMatch());
    QVERIFY(!TrayIcon::BalloonText().contains(QLatin1Char('\n')));
    QVERIFY(!tray.Icon().contextMenu());
}

void TestTrayIcon::Activation_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("shown");

    QTest::newRow("double-click on hidden") << int(QSystemTrayIcon::DoubleClick) << true << true << true;
    QTest::newRow("double-click on minimised") << int(QSystemTrayIcon::DoubleClick) << true << false << true;
    QTest::newRow("double-click on shown") << int(QSystemTrayIcon::DoubleClick) << false << false << true;
    QTest::newRow("single click") << int(QSystemTrayIcon::Trigger) << true << true << false;
    QTest::newRow("right click") << int(QSystemTrayIcon::Context) << true << true << false;
    QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << true << true << false;
}

void TestTrayIcon::Activation()
{
    QFETCH(int, reason);
    QFETCH(bool, minimised);
    QFETCH(bool, hidden);
    QFETCH(bool, shown);

    QWidget main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    if (minimised)
        main.setWindowState(Qt::WindowMinimized);
    if (hidden)
        main.hide();
    TrayIcon tray(QIcon(), [&main] { return &main; });

    Q_EMIT tray.Icon().activated(QSystemTrayIcon::ActivationReason(reason));

    QCOMPARE(main.isVisible(), shown || !hidden);
    if (shown)
        QVERIFY(!(main.windowState() & Qt::WindowMinimized));
    else
        QCOMPARE(bool(main.windowState() & Qt::WindowMinimized), minimised);
}

void TestTrayIcon::NoWindowYet()
{
    TrayIcon tray(QIcon(), [] { return static_cast<QWidget*>(nullptr); });
    Q_EMIT tray.Icon().activated(QSystemTrayIcon::DoubleClick);
}

QTEST_MAIN(TestTrayIcon)
#include "tst_trayicon.moc"
