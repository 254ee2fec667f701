// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "EntryFacts.h"

#include <QString>

// Whether the entry exists: a folder or a plain file counts, a hidden one
// (its name begins with ".") does not. Only that exact entry counts, never
// a folder's contents.
bool FolderExists(const EntryFacts &entry);

// The entry's name as it was asked, or empty text when there is none. Hidden
// entries are never found; folders only when withFolders is set; a link whose
// target is gone counts as a plain file, so that it keeps its name.
QString findEntryName(const EntryFacts &entry, bool withFolders);
