// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The calling thread's identifier as the system shows it (the kernel's thread id on Linux,
// the number of ps -L and top -H), for the executor's "New Thread Id:" label.
quint64 CurrentThreadNumber();
