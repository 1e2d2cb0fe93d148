#pragma once

#include <QObject>

class QSocketNotifier;

// Delivers SIGINT and SIGTERM as a Qt signal on the thread that created the object, by a
// self-pipe that the handler writes to. One instance at a time; the old handlers come back
// when it is destroyed.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void Received(int signalNumber);

private:
    void ReadPending();

    QSocketNotifier* m_notifier = nullptr;
};
