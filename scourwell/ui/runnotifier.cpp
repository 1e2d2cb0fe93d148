// SPDX-License-Identifier: GPL-3.0-or-later
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

// Sizes in the C locale's units, as the log and the command line write numbers.
QString SizeText(qint64 bytes)
{
    return QLocale::c().formattedDataSize(bytes);
}

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
// The server's own display time.
constexpr int ServerTimeout = -1;
const QString DefaultAction = QStringLiteral("default");
const QString DetailsAction = QStringLiteral("details");
const QString UndoAction = QStringLiteral("undo");

} // namespace

BusNotifications::BusNotifications()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(Service, Path, Service, QStringLiteral("ActionInvoked"), this,
                SLOT(ActionInvoked(uint, QString)));
    bus.connect(Service, Path, Service, QStringLiteral("NotificationClosed"), this,
                SLOT(NotificationClosed(uint, uint)));
}

void BusNotifications::Notify(const QString& summary, const QString& body, std::function<void()> unavailable,
                              std::function<void()> details, std::function<void()> undo)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        unavailable();
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Service, QStringLiteral("Notify"));
    QStringList actions{DefaultAction, QStringLiteral("Details"), DetailsAction, QStringLiteral("Details")};
    if (undo)
        actions << UndoAction << QStringLiteral("Undo");
    call << QStringLiteral("Scourwell") << 0u << QStringLiteral("scourwell") << summary << body << actions
         << QVariantMap() << ServerTimeout;
    // Asynchronous: a service that hangs must not hold the windows.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), &m_replies);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &m_replies,
                     [this, unavailable = std::move(unavailable), details = std::move(details),
                      undo = std::move(undo)](QDBusPendingCallWatcher* reply) {
                         const QDBusPendingReply<uint> id = *reply;
                         if (id.isError())
                             unavailable();
                         else
                             m_shown[id.value()] = {details, undo};
                         reply->deleteLater();
                     });
}

void BusNotifications::ActionInvoked(uint id, const QString& actionKey)
{
    const auto shown = m_shown.find(id);
    if (shown == m_shown.end())
        return;
    // Copied out: what it shows may run the event loop, which may hear the close.
    const Actions actions = shown->second;
    if (actionKey == DefaultAction || actionKey == DetailsAction)
        actions.details();
    else if (actionKey == UndoAction && actions.undo)
        actions.undo();
}

void BusNotifications::NotificationClosed(uint id, uint /*reason*/)
{
    m_shown.erase(id);
}

RunNotifier::RunNotifier(const JobTable& table, std::unique_ptr<DesktopNotifications> desktop,
                         Balloon balloon, Details details, Undo undo, QObject* parent)
    : QObject(parent), m_table(table), m_desktop(std::move(desktop)), m_balloon(std::move(balloon)),
      m_details(std::move(details)), m_undo(std::move(undo))
{
}

RunNotifier::~RunNotifier() = default;

void RunNotifier::RunFinished(const PurgeRun* run, qint64 count)
{
    Tell({run->Values().folder, count, run->IsStopRequested(), run->Bytes(), run->Values().moveToTrash,
          run->RecordFile()});
}

void RunNotifier::Tell(const RunResult& result)
{
    if (!ShouldTell(m_table.RunResultsChoice(), result.count))
        return;
    const QString summary = Summary(result);
    const QString body = Body(result);
    m_desktop->Notify(
        summary, body,
        [this, result, summary, body] {
            m_lastBalloon = result;
            m_balloon(summary, body);
        },
        [this, result] { m_details(result); },
        Undoable(result) ? std::function<void()>([this, result] { m_undo(result); })
                         : std::function<void()>());
}

bool RunNotifier::Undoable(const RunResult& result)
{
    return result.trash && result.count > 0 && !result.recordFile.isEmpty();
}

void RunNotifier::BalloonClicked()
{
    if (m_lastBalloon)
        m_details(*m_lastBalloon);
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
    const QString went = QStringLiteral("Scourwell: %1 ").arg(result.count) +
                         (result.trash ? QStringLiteral("moved to the Trash") : QStringLiteral("deleted"));
    return result.bytes ? went + QStringLiteral(" (%1)").arg(SizeText(*result.bytes)) : went;
}

QString RunNotifier::DetailsText(const RunResult& result)
{
    QString went = QString::number(result.count);
    if (result.trash) {
        went += QStringLiteral(" moved to the Trash");
        if (result.bytes)
            went += QStringLiteral(" (%1)").arg(SizeText(*result.bytes));
        went += QStringLiteral("; View > Runs can put them back");
    } else {
        went += QStringLiteral(" deleted");
        if (result.bytes)
            went += QStringLiteral(", %1 freed").arg(SizeText(*result.bytes));
    }
    const QString end = result.stopped
                            ? QStringLiteral("The run was stopped before the end; what it did not reach is "
                                             "still there.")
                            : QStringLiteral("The run went to the end.");
    return QStringLiteral("Folder: ") + result.folder + QStringLiteral("\n") + went + QStringLiteral("\n") +
           end + QStringLiteral("\n\nThe week log has a row for it: the Log Explorer shows it.");
}

QString RunNotifier::Body(const RunResult& result)
{
    if (!result.stopped)
        return result.folder;
    return result.folder + QStringLiteral("\nStopped before the end.");
}
