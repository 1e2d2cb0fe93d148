// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

class PurgeRun;
class QLabel;
class QPushButton;

// "Scourwell Executor": one run's window, frmJobFiles, frmJobFileSubfolders or
// frmJobSubfolders by the run's purge style. It shows the ten launch values and the ids of
// the worker thread and the process, what the run has done so far (a few times a second), and
// closes itself when the run ends. Stop (or the close
// box) makes the run stop before its next item; it still writes its log row, and the window
// stays until then.
class ExecutorWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ExecutorWindow(PurgeRun& run, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Stop();
    void ShowProgress();

    // The run deletes itself once it has ended; the window may outlive it.
    QPointer<PurgeRun> m_run;
    QPushButton* m_stop = nullptr;
    QLabel* m_examined = nullptr;
    QLabel* m_deleted = nullptr;
    QLabel* m_elapsed = nullptr;
    QLabel* m_place = nullptr;
    QElapsedTimer m_since;
};
