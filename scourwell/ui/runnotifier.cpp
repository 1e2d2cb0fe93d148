#include "ui/runnotifier.h"

#include "config/jobtable.h"
#include "purge/purgerun.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLocale>
#include <QVariantMap>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
// The server's own display time.
constexpr int ServerTimeout = -1;

} // namespace

void BusNotifications::Notify(const QString& summary, const QString& body, std::function<void()> unavailable)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        unavailable();
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Service, QStringLiteral("Notify"));
    call << QStringLiteral("Scourwell") << 0u << QStringLiteral("scourwell") << summary << body
         << QStringList() << QVariantMap() << ServerTimeout;
    // Asynchronous: a service that hangs must not hold the windows.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), &m_replies);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &m_replies,
                     [unavailable = std::move(unavailable)](QDBusPendingCallWatcher* reply) {
                         if (reply->isError())
                             unavailable();
                         reply->deleteLater();
                     });
}

RunNotifier::RunNotifier(const JobTable& table, std::unique_ptr<DesktopNotifications> desktop,
                         Balloon balloon, QObject* parent)
    : QObject(parent), m_table(table), m_desktop(std::move(desktop)), m_balloon(std::move(balloon))
{
}

RunNotifier::~RunNotifier() = default;

void RunNotifier::RunFinished(const PurgeRun* run, qint64 count)
{
    Tell({run->Values().folder, count, run->IsStopRequested(), run->Bytes()});
}

void RunNotifier::Tell(const RunResult& result)
{
    if (!ShouldTell(m_table.RunResultsChoice(), result.count))
        return;
    const QString summary = Summary(result);
    const QString body = Body(result);
    m_desktop->Notify(summary, body, [this, summary, body] { m_balloon(summary, body); });
}

bool RunNotifier::ShouldTell(RunResults choice, qint64 count)
{
    switch (choice) {
    case RunResults::Every:
        return true;
    case RunResults::WhenDeleted:
        return count > 0;
    case RunResults::Never:
        return false;
    }
    return false;
}

QString RunNotifier::Summary(const RunResult& result)
{
    // Sizes in the C locale's units, as the log and the command line write numbers.
    return QStringLiteral("Scourwell: %1 deleted (%2)")
        .arg(result.count)
        .arg(QLocale::c().formattedDataSize(result.bytes));
}

QString RunNotifier::Body(const RunResult& result)
{
    if (!result.stopped)
        return result.folder;
    return result.folder + QStringLiteral("\nStopped before the end.");
}
