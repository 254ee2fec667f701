// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Hands a target to the desktop to be opened the way a double-click in the
// file manager opens it. Returns at once and reports nothing: a target that
// names nothing, or that nothing can open, simply opens nothing.
class ShellOpener
{
public:
    virtual ~ShellOpener() = default;
    virtual void open(const QString &target) = 0;
    // A folder the disk has just said is one: opened without asking it again
    // (a slow share would make the open wait as long again).
    virtual void openFolder(const QString &path) { open(path); }
};
