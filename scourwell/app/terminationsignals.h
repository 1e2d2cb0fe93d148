// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

// Delivers SIGINT and SIGTERM (Received) and SIGHUP (HangUp) as Qt signals on the thread that
// created the object, by a self-pipe that the handler writes to, and ignores SIGPIPE, so that
// writing to a closed output fails instead of ending the program. One instance at a time; the
// old dispositions come back when it is destroyed.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void Received(int signalNumber);
    void HangUp();

private:
    void ReadPending();

    QSocketNotifier* m_notifier = nullptr;
};
