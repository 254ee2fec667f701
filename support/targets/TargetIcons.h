// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/EntryFacts.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

// A target's icon as the desktop's file managers show it, worked out from
// what the disk said of it and of its first bytes: GIO's type and icon names
// and its reading of desktop entries, none of which asks the disk here.
namespace TargetIcons {

// How many of a file's first bytes its type may need.
constexpr int HeadBytes = 4096;

// The type of an entry that is there (through a link) from its name alone;
// empty where the name leaves it open and the first bytes must say.
QString typeByName(const EntryFacts &entry);
// The type from the name and the first bytes.
QString typeByContent(const EntryFacts &entry, const QByteArray &head);
// The theme names for a type, or for a folder the user knows by its own
// icon (home, desktop, documents…), in the order to try them.
QStringList namesFor(const EntryFacts &entry, const QString &type);

// An application entry's icon: theme names, or the picture file it names.
struct EntryIcon
{
    QStringList names;
    QString file;
};
// Nothing where the bytes are not an application entry with an icon.
std::optional<EntryIcon> applicationIcon(const QByteArray &desktopEntry);

} // namespace TargetIcons
