#pragma once

#include "config/jobtable.h"
#include "purge/launchvalues.h"
#include "schedule/checktimer.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

// The job table of scourwell --headless, where ConfigDat.ini is the only way to manage jobs:
// the file is read again whenever it changed since this table's own last load or save, and a
// change that has not been read is never saved over.
class HeadlessJobs
{
public:
    HeadlessJobs(QString programFolder, JobLauncher& launcher);

    const JobTable& Table() const { return m_table; }

    // Loads the options and the jobs (at start and on SIGHUP). Rows of runs under way keep
    // showing running.
    void Load(const QDateTime& now);
    // One tick of TimerCheckJob on a table read again first when the file changed. Nobody is
    // there to press Adjust Date, so a missed run that would wait moves on instead. A save
    // that would overwrite a change made meanwhile reads the file again and takes the tick's
    // decisions anew on it (a run already launched in this tick is not launched twice).
    // Returns the missed runs moved on without a run.
    std::vector<MovedOnRun> CheckJobTick(const QDateTime& now);
    // One tick of TimerCheckStat.
    void CheckStatTick();

private:
    bool FileChanged() const;

    const QString m_programFolder;
    JobLauncher& m_launcher;
    JobTable m_table;
    QByteArray m_fingerprint;
};

// scourwell --headless: the check timer and the executor runs with no window. Makes the
// start-up preparations, keeps to the single-instance rule, prints one line per launched,
// finished and moved-on run, and reads ConfigDat.ini again on SIGHUP. On SIGINT or SIGTERM
// lets the runs stop at their next item and write their rows, then returns 0; runs that have
// not stopped within a bound (or by a second signal) are named and the program ends with 1.
// A closed output never ends it. Creates its own QCoreApplication.
int HeadlessMain(int& argc, char** argv);
