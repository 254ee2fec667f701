// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IconSource.h"

// Icons as GIO reports them: the file's own theme icon names in order (special
// folders, MIME type, generic fall-backs), the first the theme has; for a
// .desktop application its Icon key.
class GioIconSource : public IconSource
{
public:
    QIcon iconFor(const QString &path) override;
};
