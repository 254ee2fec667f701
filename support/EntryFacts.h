// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <sys/stat.h>

// What the disk said of one path when it was asked: plain data, made by the
// disk helper's answer (or, in tests, from the disk at hand).
struct EntryFacts
{
    QString path;
    // errno of lstat (the entry itself: a link counts, wherever it leads) and
    // of stat (what it leads to); 0 where the call succeeded.
    int lstatError = ENOENT;
    int statError = ENOENT;
    uint lstatMode = 0;
    uint statMode = 0;
    qint64 size = 0;
    // Device, inode, size and times, through a link; empty where it leads nowhere.
    QByteArray identity;
    QString linkTarget;
    bool executable = false;

    bool isThere() const { return lstatError == 0; }
    bool exists() const { return statError == 0; }
    bool isDir() const { return exists() && S_ISDIR(statMode); }
    bool isFile() const { return exists() && S_ISREG(statMode); }
    bool isSymLink() const { return isThere() && S_ISLNK(lstatMode); }
    // The last part of the path, as it was asked.
    QString fileName() const { return path.section(QLatin1Char('/'), -1); }
    // The disk could not say (not connected, an input or output error): the
    // entry is not known to be missing.
    bool unknown() const
    {
        return lstatError && lstatError != ENOENT && lstatError != ENOTDIR &&
               lstatError != ENAMETOOLONG && lstatError != ELOOP;
    }
};

// The entry's name as it was asked, or empty text when there is none. Hidden
// entries (their names begin with ".") are never found; folders only when
// withFolders is set; a link whose target is gone counts as a plain file, so
// that it keeps its name.
inline QString findEntryName(const EntryFacts &entry, bool withFolders)
{
    const QString name = entry.fileName();
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        return {};
    const bool dangling = entry.isSymLink() && !entry.exists();
    if (entry.isFile() || dangling || (withFolders && entry.isDir()))
        return name;
    return {};
}

// Whether the entry exists: a folder or a plain file counts, a hidden one does
// not. Only that exact entry counts, never a folder's contents.
inline bool FolderExists(const EntryFacts &entry)
{
    return !findEntryName(entry, true).isEmpty();
}
