// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class JobTable;
class PurgeRun;
enum class RunResults;

// What the person is told of a run that ended.
struct RunResult
{
    QString folder;
    qint64 count = 0;
    bool stopped = false;
    std::optional<qint64> bytes; // nothing when not all sizes were read
    bool trash = false;          // what went was moved to the trash
    QString recordFile;          // the record of what went; empty when none was written
};

// The desktop's notification service. Notify does not wait for the service: unavailable is
// called later when no service took the notification, details when the person chose the
// notification's action to see more, undo when they chose to undo the run (offered only when
// undo is given).
class DesktopNotifications
{
public:
    virtual ~DesktopNotifications() = default;
    virtual void Notify(const QString& summary, const QString& body, std::function<void()> unavailable,
                        std::function<void()> details, std::function<void()> undo) = 0;
};

// The freedesktop notification service (org.freedesktop.Notifications) on the session bus,
// whose notifications offer "Details" (also the default action, a click on the notification)
// and, for a run that can be undone, "Undo".
class BusNotifications : public QObject, public DesktopNotifications
{
    Q_OBJECT

public:
    BusNotifications();
    void Notify(const QString& summary, const QString& body, std::function<void()> unavailable,
                std::function<void()> details, std::function<void()> undo) override;

private Q_SLOTS:
    // The service's signals, connected by name: the bus knows no member pointers.
    void ActionInvoked(uint id, const QString& actionKey);
    void NotificationClosed(uint id, uint reason);

private:
    // Owns the pending replies, so that none is heard once this is gone.
    QObject m_replies;
    struct Actions
    {
        std::function<void()> details;
        std::function<void()> undo;
    };
    // The actions of each notification still shown, by the service's id.
    std::map<uint, Actions> m_shown;
};

// Tells the person of each run that ends, as the option in the job table chooses: by a
// desktop notification, or by the tray balloon where the desktop has no notification service.
class RunNotifier : public QObject
{
    Q_OBJECT

public:
    using Balloon = std::function<void(const QString& title, const QString& text)>;
    // Shows the details of a run the person asked about, or undoes it.
    using Details = std::function<void(const RunResult& result)>;
    using Undo = std::function<void(const RunResult& result)>;

    RunNotifier(const JobTable& table, std::unique_ptr<DesktopNotifications> desktop, Balloon balloon,
                Details details, Undo undo, QObject* parent = nullptr);
    ~RunNotifier() override;

    // For JobHost::RunFinished.
    void RunFinished(const PurgeRun* run, qint64 count);
    void Tell(const RunResult& result);
    // The last balloon was clicked: its run's details.
    void BalloonClicked();

    static bool ShouldTell(RunResults choice, qint64 count);
    // Whether the notification offers to undo the run: a trash run that moved something and
    // left its record.
    static bool Undoable(const RunResult& result);
    static QString Summary(const RunResult& result);
    static QString Body(const RunResult& result);
    // What the details show: the folder, what went, and whether the run was stopped.
    static QString DetailsText(const RunResult& result);

private:
    const JobTable& m_table;
    std::unique_ptr<DesktopNotifications> m_desktop;
    Balloon m_balloon;
    Details m_details;
    Undo m_undo;
    std::optional<RunResult> m_lastBalloon;
};
