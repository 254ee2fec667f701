// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <optional>

// The panel's program run as an opener: "katalog --open --
// TARGET [folder]" opens one target as the desktop does (a folder the
// panel already knows is one, without asking the disk again) and ends. The disk helper
// runs it for every open, so that whatever the disk makes it wait for, it
// waits in a process of its own.
namespace OpenCommand {

// The command that opens a target put after it: program is the panel's own.
QStringList opener(const QString &program);

// Runs the open when the arguments ask for one, and gives its exit status;
// nothing otherwise. Call first in main, before anything else is made.
std::optional<int> run(int argc, char **argv);

} // namespace OpenCommand
