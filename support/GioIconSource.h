// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IconSource.h"

// Icons as GIO reports them: the file's own theme icon names in order (special
// folders, MIME type, generic fall-backs), the first the theme has; for a
// .desktop application its Icon key.
//
// Whether the path exists is decided at once (no icon for a path that names
// nothing); the look-up itself waits until the icon is first drawn, as
// QIcon::fromTheme does, so GIO's MIME tables and the icon theme load after
// the window is on screen rather than before.
class GioIconSource : public IconSource
{
public:
    QIcon iconFor(const QString &path) override;
};
