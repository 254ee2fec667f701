// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderExists.h"

#include <QFileInfo>

QString findEntryName(const QString &path, bool withFolders)
{
    const QFileInfo entry(path);
    const QString name = entry.fileName();
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        return {};
    if (entry.isFile() || (withFolders && entry.isDir()))
        return name;
    return {};
}

bool FolderExists(const QString &path)
{
    return !findEntryName(path, true).isEmpty();
}
