// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <system_error>

// Makes one folder, exactly as named: no parents are made, and an existing
// entry of that name is a failure.
class FolderMaker
{
public:
    virtual ~FolderMaker() = default;
    // Why the folder could not be made; none when it was.
    virtual std::error_code makeFolder(const QString &path) = 0;
};
