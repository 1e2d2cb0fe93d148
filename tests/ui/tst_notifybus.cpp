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
};

// A notification server on a connection of its own, as the desktop's would be.
class FakeServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    std::vector<Call> calls;

public Q_SLOTS:
    uint Notify(const QString& appName, uint /*replacesId*/, const QString& /*appIcon*/,
                const QString& summary, const QString& body, const QStringList& /*actions*/,
                const QVariantMap& /*hints*/, int /*expireTimeout*/)
    {
        calls.push_back({appName, summary, body});
        return uint(calls.size());
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
    bus.Notify(summary, body, [&] { ballooned = true; });
    if (serverUp) {
        QTRY_COMPARE(server.calls.size(), size_t(1));
        QCOMPARE(server.calls[0].appName, QStringLiteral("Scourwell"));
        QCOMPARE(server.calls[0].summary, summary);
        QCOMPARE(server.calls[0].body, body);
        QVERIFY(!ballooned);
    } else {
        QTRY_VERIFY(ballooned);
    }
}

QTEST_GUILESS_MAIN(TestNotifyBus)
#include "tst_notifybus.moc"
