// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IconSource.h"

#include <thread>

// Icons as GIO reports them: the file's own theme icon names in order (special
// folders, MIME type, generic fall-backs), the first the theme has; for a
// .desktop application its Icon key.
//
// GIO's MIME database takes several milliseconds to load; made first thing at
// start-up, the source loads it on a thread of its own while the window is
// built, so that the slots' icons cost next to nothing by the time they are
// asked for.
class GioIconSource : public IconSource
{
public:
    GioIconSource();
    ~GioIconSource() override;
    GioIconSource(const GioIconSource &) = delete;
    GioIconSource &operator=(const GioIconSource &) = delete;

    QIcon iconFor(const QString &path) override;

private:
    std::thread m_warmUp;
};
