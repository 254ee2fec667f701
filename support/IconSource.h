// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

// Gives the icon the desktop's file manager shows for a path, or a null icon
// when the path names nothing.
class IconSource
{
public:
    virtual ~IconSource() = default;
    virtual QIcon iconFor(const QString &path) = 0;
};
