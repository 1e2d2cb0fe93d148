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
    QTest::addColumn<bool>("undo");
    QTest::newRow("server on the bus") << true << false;
    QTest::newRow("server, a run to undo") << true << true;
    QTest::newRow("no server: the balloon") << false << true;
}

void TestNotifyBus::Notify()
{
    QFETCH(bool, serverUp);
    QFETCH(bool, undo);
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
        summary, body, [&] { ballooned = true; }, [] {}, undo ? std::function<void()>([] {}) : nullptr);
    if (serverUp) {
        QTRY_COMPARE(server.calls.size(), size_t(1));
        QCOMPARE(server.calls[0].appName, QStringLiteral("Scourwell"));
        QCOMPARE(server.calls[0].summary, summary);
        QCOMPARE(server.calls[0].body, body);
        QStringList actions{QStringLiteral("default"), QStringLiteral("Details"), QStringLiteral("details"),
                            QStringLiteral("Details")};
        if (undo)
            actions << QStringLiteral("undo") << QStringLiteral("Undo");
        QCOMPARE(server.calls[0].actions, actions);
        QVERIFY(!ballooned);
    } else {
        QTRY_VERIFY(ballooned);
    }
}

void TestNotifyBus::Details_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("offersUndo");
    QTest::addColumn<bool>("closedFirst");
    QTest::addColumn<bool>("otherId");
    QTest::addColumn<QString>("heard"); // "details", "undo" or nothing

    QTest::newRow("click on the notification") << "default" << true << false << false << "details";
    QTest::newRow("its Details button") << "details" << false << false << false << "details";
    QTest::newRow("its Undo button") << "undo" << true << false << false << "undo";
    QTest::newRow("Undo it never offered") << "undo" << false << false << false << "";
    QTest::newRow("an action it never offered") << "delete" << true << false << false << "";
    QTest::newRow("after it closed") << "default" << false << true << false << "";
    QTest::newRow("Undo after it closed") << "undo" << true << true << false << "";
    QTest::newRow("another program's notification") << "default" << false << false << true << "";
}

// The service's ActionInvoked for the notification's id shows its run's details, or undoes
// the run, once per choice; nothing for a closed notification or another id.
void TestNotifyBus::Details()
{
    QFETCH(QString, action);
    QFETCH(bool, offersUndo);
    QFETCH(bool, closedFirst);
    QFETCH(bool, otherId);
    QFETCH(QString, heard);

    QDBusConnection serverBus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-notifications"));
    const auto disconnect =
        qScopeGuard([] { QDBusConnection::disconnectFromBus(QStringLiteral("fake-notifications")); });
    FakeServer server;
    QVERIFY(serverBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                                     QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
    QVERIFY(serverBus.registerService(Service));

    QStringList heardActions;
    BusNotifications bus;
    bus.Notify(
        QStringLiteral("Scourwell: 1 deleted"), QStringLiteral("/data"), [] {},
        [&] { heardActions << QStringLiteral("details"); },
        offersUndo ? std::function<void()>([&] { heardActions << QStringLiteral("undo"); }) : nullptr);
    QTRY_COMPARE(server.calls.size(), size_t(1));
    const uint id = 41;
    // The server's reply with the id goes out before its signals, on one connection, in order.
    if (closedFirst)
        Q_EMIT server.NotificationClosed(id, 2);
    Q_EMIT server.ActionInvoked(otherId ? id + 1 : id, action);
    if (!heard.isEmpty()) {
        QTRY_COMPARE(heardActions, QStringList{heard});
    } else {
        QTest::qWait(200);
        QCOMPARE(heardActions, QStringList());
    }
}

QTEST_GUILESS_MAIN(TestNotifyBus)
#include "tst_notifybus.moc"
