#pragma once

// scourwell --headless: the check timer and the executor runs with no window. Makes the
// start-up preparations, keeps to the single-instance rule, prints one line per launched and
// per finished run, and on SIGINT or SIGTERM lets the runs stop at their next item and write
// their rows, then returns 0. Creates its own QCoreApplication.
int HeadlessMain(int& argc, char** argv);
