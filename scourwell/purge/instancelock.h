#pragma once

#include <QString>
#include <memory>

class QLockFile;

// The single-instance rule of Scourwell, GUI and headless alike: a lock file in the program
// folder, held for the whole run. Null when another live process holds it. The name begins
// with "." so that no purge of the program folder ever removes it.
std::unique_ptr<QLockFile> LockSingleInstance(const QString& programFolder);
