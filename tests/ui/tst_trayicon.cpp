// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/trayicon.h"

#include <QTest>

class TestTrayIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void Texts();
    void Activation_data();
    void Activation();
};

void TestTrayIcon::Texts()
{
    TrayIcon tray(QIcon(), [] {});
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
    QTest::addColumn<bool>("bringsBack");

    QTest::newRow("double-click") << int(QSystemTrayIcon::DoubleClick) << true;
    QTest::newRow("single click") << int(QSystemTrayIcon::Trigger) << false;
    QTest::newRow("right click") << int(QSystemTrayIcon::Context) << false;
    QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << false;
}

void TestTrayIcon::Activation()
{
    QFETCH(int, reason);
    QFETCH(bool, bringsBack);

    int broughtBack = 0;
    TrayIcon tray(QIcon(), [&broughtBack] { ++broughtBack; });
    Q_EMIT tray.Icon().activated(QSystemTrayIcon::ActivationReason(reason));
    QCOMPARE(broughtBack, bringsBack ? 1 : 0);
}

QTEST_MAIN(TestTrayIcon)
#include "tst_trayicon.moc"
