// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QStringList>

// What the disk said about a slot's target when it was last asked. Plain data,
// made on any thread.
struct TargetState
{
    QString path;
    // The entry's name as a plain file (a dangling link counts), and as a
    // file or a folder; empty where neither look-up finds it (missing, hidden).
    QString fileName;
    QString entryName;
    // The disk did not say (not connected, an input or output error): the
    // names above are unknown, not missing.
    bool failed = false;
    // The folder holds an entry "А", the first catalogue letter.
    bool holdsFirstLetter = false;
    // The icon: the first of these theme names the theme has, else this
    // picture; neither for a path that names nothing.
    QStringList iconNames;
    QImage iconImage;
};
