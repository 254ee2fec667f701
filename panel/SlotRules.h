// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/TargetState.h"

#include <QString>

// The panel's rules for what a slot holds and shows, as plain functions.
namespace SlotRules {

// The placeholder entry: nothing assigned.
inline const QString Placeholder = QStringLiteral("1");
// A caption that begins with it marks a folder.
constexpr QChar FolderMark = QLatin1Char(' ');

// A dropped target's caption: a file's name, or the folder mark and a
// folder's name. A hidden entry is found by neither look-up and gives the
// mark alone.
QString captionOf(const TargetState &target);

// A dropped path's caption before the disk has said what it is: its name,
// behind the folder mark where the drop said it is a folder.
QString droppedCaption(const QString &path, bool saidFolder);

// The subfolder a letter tile opens in the catalogue at path.
QString letterFolder(const QString &path, int tileIndex);

// What a screen reader says for a slot: an empty slot as empty, a folder as
// a folder and its name, anything else as its caption.
QString spokenName(const QString &path, const QString &caption);
// And what it says when asked for more: how an empty slot is filled, or the
// caption, never the placeholder.
QString spokenDescription(const QString &path, const QString &caption);

} // namespace SlotRules
