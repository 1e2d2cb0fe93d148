// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/runnotifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTest>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");

struct Call
{
    QString appName;
    QString summary;
    QString body;
    QStringList actions;
};

// A notification server on a connection of its own, as the desktop's would be.
class FakeServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    std::vector<Call> calls;

Q_SIGNALS:
    void ActionInvoked(uint id, const QString& actionKey);
    void NotificationClosed(uint id, uint reason);

public Q_SLOTS:
    uint Notify(const QString& appName, uint /*replacesId*/, const QString& /*appIcon*/,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& /*hints*/, int /*expireTimeout*/)
    {
        calls.push_back({appName, summary, body, actions});
        // Ids as a real service hands them out: never 0.
        return uint(calls.size()) + 40;
    }
};

} // namespace

// Runs on a private session bus (dbus-run-session), never the user's.
class TestNotifyBus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void Notify_data();
    void Notify();
    void Details_data();
    void Details();
};

void TestNotifyBus::initTestCase()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("no session bus");
    if (QDBusConnection::sessionBus().interface()->isServiceRegistered(Service))
        QSKIP("a notification service is already on this bus");
}

void TestNotifyBus::Notify_data()
{
    QTest::addColumn<bool>("serverUp");
    QTest::newRow("server on the bus") << true;
    QTest::newRow("no server: the balloon") << false;
}

void TestNotifyBus::Notify()
{
    QFETCH(bool, serverUp);
    QDBusConnection serverBus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-notifications"));
    const auto disconnect =
        qScopeGuard([] { QDBusConnection::disconnectFromBus(QStringLiteral("fake-notifications")); });
    FakeServer server;
    if (serverUp) {
        QVERIFY(serverBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                                         QDBusConnection::ExportAllSlots));
        QVERIFY(serverBus.registerService(Service));
    }

    bool ballooned = false;
    BusNotifications bus;
    const QString summary = QStringLiteral("Scourwell: 12 deleted");
    const QString body = QStringLiteral("/data/old\nStopped before the end.");
    bus.Notify(
        summary, body, [&] { ballooned = true; }, [] {});
    if (serverUp) {
        QTRY_COMPARE(server.calls.size(), size_t(1));
        QCOMPARE(server.calls[0].appName, QStringLiteral("Scourwell"));
        QCOMPARE(server.calls[0].summary, summary);
        QCOMPARE(server.calls[0].body, body);
        QCOMPARE(server.calls[0].actions,
                 QStringList({QStringLiteral("default"), QStringLiteral("Details"), QStringLiteral("details"),
                              QStringLiteral("Details")}));
        QVERIFY(!ballooned);
    } else {
        QTRY_VERIFY(ballooned);
    }
}

void TestNotifyBus::Details_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("closedFirst");
    QTest::addColumn<bool>("otherId");
    QTest::addColumn<bool>("shown");

    QTest::newRow("click on the notification") << "default" << false << false << true;
    QTest::newRow("its Details button") << "details" << false << false << true;
    QTest::newRow("an action it never offered") << "undo" << false << false << false;
    QTest::newRow("after it closed") << "default" << true << false << false;
    QTest::newRow("another program's notification") << "default" << false << true << false;
}

// The service's ActionInvoked for the notification's id shows its run's details, once per
// choice; nothing for a closed notification or another id.
void TestNotifyBus::Details()
{
    QFETCH(QString, action);
    QFETCH(bool, closedFirst);
    QFETCH(bool, otherId);
    QFETCH(bool, shown);

    QDBusConnection serverBus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-notifications"));
    const auto disconnect =
        qScopeGuard([] { QDBusConnection::disconnectFromBus(QStringLiteral("fake-notifications")); });
    FakeServer server;
    QVERIFY(serverBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                                     QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
    QVERIFY(serverBus.registerService(Service));

    int details = 0;
    BusNotifications bus;
    bus.Notify(
        QStringLiteral("Scourwell: 1 deleted"), QStringLiteral("/data"), [] {}, [&] { ++details; });
    QTRY_COMPARE(server.calls.size(), size_t(1));
    const uint id = 41;
    // The server's reply with the id goes out before its signals, on one connection, in order.
    if (closedFirst)
        Q_EMIT server.NotificationClosed(id, 2);
    Q_EMIT server.ActionInvoked(otherId ? id + 1 : id, action);
    if (shown) {
        QTRY_COMPARE(details, 1);
    } else {
        QTest::qWait(200);
        QCOMPARE(details, 0);
    }
}

QTEST_GUILESS_MAIN(TestNotifyBus)
#include "tst_notifybus.moc"
