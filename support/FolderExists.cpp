// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderExists.h"

QString findEntryName(const EntryFacts &entry, bool withFolders)
{
    const QString name = entry.fileName();
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        return {};
    const bool dangling = entry.isSymLink() && !entry.exists();
    if (entry.isFile() || dangling || (withFolders && entry.isDir()))
        return name;
    return {};
}

bool FolderExists(const EntryFacts &entry)
{
    return !findEntryName(entry, true).isEmpty();
}
