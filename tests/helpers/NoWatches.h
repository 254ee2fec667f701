// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

// Linked into a program, NoWatches.cpp stands in for the kernel's
// inotify_add_watch: while this is set, every watch the program asks for (Qt's
// file watcher's too) is refused as where the user's watches are used up, and
// no other program's watches are touched.
extern std::atomic<bool> noWatchesLeft;
