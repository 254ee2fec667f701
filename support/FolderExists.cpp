// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderExists.h"

#include <QFileInfo>

QString findEntryName(const QString &path, bool withFolders)
{
    return findEntryName(QFileInfo(path), withFolders);
}

QString findEntryName(const QFileInfo &entry, bool withFolders)
{
    const QString name = entry.fileName();
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        return {};
    // A link is an entry of its own: one whose target is gone counts as a
    // plain file, so that it keeps its name.
    const bool dangling = entry.isSymLink() && !entry.exists();
    if (entry.isFile() || dangling || (withFolders && entry.isDir()))
        return name;
    return {};
}

bool FolderExists(const QString &path)
{
    return !findEntryName(path, true).isEmpty();
}
