// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/FolderMaker.h"

// Folders on disk, one mkdir(2) each.
class DiskFolderMaker : public FolderMaker
{
public:
    std::error_code makeFolder(const QString &path) override;
};
