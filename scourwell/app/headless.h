#pragma once

// scourwell --headless: the check timer and the executor runs with no window. Makes the
// start-up preparations, keeps to the single-instance rule, prints one line per launched,
// finished and moved-on run, and reads ConfigDat.ini again on SIGHUP. On SIGINT or SIGTERM
// lets the runs stop at their next item and write their rows, then returns 0; runs that have
// not stopped within a bound (or by a second signal) are named and the program ends with 1.
// A closed output never ends it. Creates its own QCoreApplication.
int HeadlessMain(int& argc, char** argv);
