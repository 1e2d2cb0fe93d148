// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// "Main Thread Information": the ids of the thread that opened it (the user-interface
// thread) and of the process. Any key closes it; it deletes itself when closed.
class ThreadInfo : public QWidget
{
    Q_OBJECT

public:
    ThreadInfo(qint64 threadId, qint64 processId, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
