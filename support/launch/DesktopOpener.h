// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/ShellOpener.h"

// Opens targets through GIO, as the file managers do:
// - a web address: the default application for its scheme;
// - a .desktop application: launched from its Exec line (Path=, Terminal=
//   honoured); a link entry opens its URL, a file on this machine as that
//   file itself would open (a link entry that leads back to itself, nothing),
//   any other address as a web address does;
// - an executable program: started directly, with no shell;
// - a folder or document: the default application for its type.
// A relative target is taken relative to "/", the programs' working folder.
// Targets travel as URIs or as the program path itself, never through a
// shell and never where they could be read as an option. open() waits as
// long as the disk takes and touches the target: the panel runs it in a
// process of its own (OpenCommand), never in its own threads.
class DesktopOpener : public ShellOpener
{
public:
    void open(const QString &target) override;
    void openFolder(const QString &path) override;
};
