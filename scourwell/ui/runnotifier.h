#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class JobTable;
class PurgeRun;
enum class RunResults;

// What the person is told of a run that ended.
struct RunResult
{
    QString folder;
    qint64 count = 0;
    bool stopped = false;
    qint64 bytes = 0;
};

// The desktop's notification service. Notify does not wait for the service: unavailable is
// called later when no service took the notification.
class DesktopNotifications
{
public:
    virtual ~DesktopNotifications() = default;
    virtual void Notify(const QString& summary, const QString& body, std::function<void()> unavailable) = 0;
};

// The freedesktop notification service (org.freedesktop.Notifications) on the session bus.
class BusNotifications : public DesktopNotifications
{
public:
    void Notify(const QString& summary, const QString& body, std::function<void()> unavailable) override;

private:
    // Owns the pending replies, so that none is heard once this is gone.
    QObject m_replies;
};

// Tells the person of each run that ends, as the option in the job table chooses: by a
// desktop notification, or by the tray balloon where the desktop has no notification service.
class RunNotifier : public QObject
{
    Q_OBJECT

public:
    using Balloon = std::function<void(const QString& title, const QString& text)>;

    RunNotifier(const JobTable& table, std::unique_ptr<DesktopNotifications> desktop, Balloon balloon,
                QObject* parent = nullptr);
    ~RunNotifier() override;

    // For JobHost::RunFinished.
    void RunFinished(const PurgeRun* run, qint64 count);
    void Tell(const RunResult& result);

    static bool ShouldTell(RunResults choice, qint64 count);
    static QString Summary(const RunResult& result);
    static QString Body(const RunResult& result);

private:
    const JobTable& m_table;
    std::unique_ptr<DesktopNotifications> m_desktop;
    Balloon m_balloon;
};
