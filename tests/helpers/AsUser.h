// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

#include <unistd.h>

// File permissions do not hold for root, and CI runs as root: inside this
// scope the process acts as the user "nobody", as a user's panel would.
struct Unprivileged
{
    Unprivileged()
    {
        if (root && setegid(65534) == 0)
            (void)seteuid(65534);
    }
    ~Unprivileged()
    {
        if (root && seteuid(0) == 0)
            (void)setegid(0);
    }
    bool active() const { return geteuid() != 0; }
    const bool root = geteuid() == 0;
};

// Anyone may read and enter the folder, nobody but root write to it.
bool makeReadOnly(const QString &folder, bool readOnly = true)
{
    return QFile::setPermissions(folder, QFileDevice::Permissions(readOnly ? 0x5555 : 0x7777));
}
