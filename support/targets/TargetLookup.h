// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/TargetState.h"

// Asks the disk about one target: its entry names, whether it holds a folder
// named catalogueLetter (as a catalogue holds its first letter's), and its
// icon as GIO reports it (the file's own theme icon names in order, for a
// .desktop application its Icon key). Blocks as long as the disk takes, so it
// runs off the user-interface thread; safe on any thread.
TargetState lookUpTarget(const QString &path, QChar catalogueLetter);
