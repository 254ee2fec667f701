// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileInfo>
#include <QString>

// Whether the entry that path names exists: a folder or a plain file counts,
// a hidden one (its name begins with ".") does not. Only that exact entry is
// looked up, never a folder's contents.
bool FolderExists(const QString &path);

// The name of the entry that path names, as stored on disk, or empty text
// when there is none. Hidden entries are never found; folders only when
// withFolders is set; a link whose target is gone counts as a plain file.
QString findEntryName(const QString &path, bool withFolders);
// The same for an entry already looked up, so that one look-up serves both.
QString findEntryName(const QFileInfo &entry, bool withFolders);
