// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// The single-instance rule of Scourwell, GUI and headless alike: a lock file in the program
// folder, held for the whole run. Null when it could not be taken: error then tells whether
// another live process holds it (LockFailedError) or the folder cannot be written. The name
// begins with "." so that no purge of the program folder ever removes it.
std::unique_ptr<QLockFile> LockSingleInstance(const QString& programFolder,
                                              QLockFile::LockError* error = nullptr);
