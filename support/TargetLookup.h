// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TargetState.h"

// Asks the disk about one target: its entry names, the catalogue probe and
// its icon as GIO reports it (the file's own theme icon names in order, for a
// .desktop application its Icon key). Blocks as long as the disk takes, so it
// runs off the user-interface thread; safe on any thread.
TargetState lookUpTarget(const QString &path);
