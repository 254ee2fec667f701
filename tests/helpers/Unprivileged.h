// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <unistd.h>

// File permissions do not hold for root, and CI runs as root: inside this
// scope the process acts as the unprivileged user "nobody", as a user's panel
// would, so a read-only folder really is read-only.
class Unprivileged
{
public:
    Unprivileged()
        : m_wasRoot(geteuid() == 0)
    {
        if (m_wasRoot) {
            (void)setegid(65534);
            (void)seteuid(65534);
        }
    }
    ~Unprivileged()
    {
        if (m_wasRoot) {
            (void)seteuid(0);
            (void)setegid(0);
        }
    }
    // Whether permissions now hold for this process.
    bool active() const { return geteuid() != 0; }
    Unprivileged(const Unprivileged &) = delete;
    Unprivileged &operator=(const Unprivileged &) = delete;

private:
    bool m_wasRoot;
};
