// SPDX-License-Identifier: GPL-3.0-or-later
// A notification service for the desktop tests: takes org.freedesktop.Notifications on the
// session bus and prints each notification as one line, "summary<TAB>body" (line breaks in
// the body as \n). With --click, it then chooses each notification's default action, as a
// person clicking it would.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QTimer>
#include <QVariantMap>
#include <cstdio>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");

class Listener : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    explicit Listener(bool click) : m_click(click) {}

public Q_SLOTS:
    uint Notify(const QString& /*appName*/, uint /*replacesId*/, const QString& /*appIcon*/,
                const QString& summary, const QString& body, const QStringList& /*actions*/,
                const QVariantMap& /*hints*/, int /*expireTimeout*/)
    {
        const uint id = ++m_last;
        QString line = summary + QLatin1Char('\t') + body;
        line.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
        if (m_click)
            QTimer::singleShot(500, this, [id] {
                QDBusMessage signal =
                    QDBusMessage::createSignal(Path, Service, QStringLiteral("ActionInvoked"));
                signal << id << QStringLiteral("default");
                QDBusConnection::sessionBus().send(signal);
            });
        return id;
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }

private:
    const bool m_click;
    uint m_last = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Listener listener(app.arguments().contains(QStringLiteral("--click")));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(Path, &listener, QDBusConnection::ExportAllSlots) ||
        !bus.registerService(Service)) {
        std::fprintf(stderr, "notifylistener: cannot take %s\n", qPrintable(Service));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "notifylistener.moc"
