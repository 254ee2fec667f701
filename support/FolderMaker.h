// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Makes one folder, exactly as named: no parents are made, and an existing
// entry of that name is a failure.
class FolderMaker
{
public:
    virtual ~FolderMaker() = default;
    // The system's reason when the folder could not be made.
    virtual std::optional<QString> makeFolder(const QString &path) = 0;
};
