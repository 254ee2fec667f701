// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Asks whether a path answers before anything else asks the disk about it.
// A share whose server took a question and never answers holds the asking
// thread in the kernel, beyond any signal, and a process with such a thread
// cannot end. So the first question goes to a helper process: if the share
// never answers it is the helper that stays, and the panel's thread waits in
// a read that ends with the panel.
namespace DiskProbe {

// Starts the helper, named "katalog-probe" over the program's arguments so
// that nobody takes it for a second panel. Call first in main with main's
// argv, while the process has one thread; without it every question is asked
// here.
void startHelper(char **argv);

// lstat's error number for the path, 0 when it is there; nothing when the
// disk has not answered within waitMilliseconds (-1: as long as it takes).
// A path still unanswered from an earlier question is not asked again until
// that answer comes.
std::optional<int> ask(const QString &path, int waitMilliseconds = -1);

} // namespace DiskProbe
