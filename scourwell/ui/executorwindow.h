#pragma once

#include <QPointer>
#include <QWidget>

class PurgeRun;

// "Scourwell Executor": one run's window, frmJobFiles, frmJobFileSubfolders or
// frmJobSubfolders by the run's purge style. It shows the ten launch values and the ids of
// the worker thread and the process, closes itself when the run ends, and Stop closes it at
// once while the run stops before its next item and still writes its log row.
class ExecutorWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ExecutorWindow(PurgeRun& run, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Stop();

    // The run deletes itself once it has ended; the window may outlive it.
    QPointer<PurgeRun> m_run;
};
