// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class FolderMaker;

// A catalogue on disk: a new folder holding one subfolder per catalogue
// letter.
namespace CatalogueFolders {

struct Failure
{
    QString path; // the folder that could not be made
    std::error_code reason;
};

// Makes the folder, whose parent must exist and whose name must be free, then
// its 28 letter subfolders in alphabetical order. Stops at the first folder
// that cannot be made; those made before it stay.
std::optional<Failure> create(FolderMaker &folders, const QString &path);

// The message for a catalogue at path that could not be made.
QString failureText(const Failure &failure, const QString &path);

// The completion message's text: six lines, each ended by CR LF, the second
// being the catalogue's path.
QString completionText(const QString &path);

} // namespace CatalogueFolders
