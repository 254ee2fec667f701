// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <system_error>

// Where the store's bytes live: a file on disk for the panel, memory in tests.
class StoreMedium
{
public:
    struct Contents
    {
        QByteArray bytes;
        // Why the store could not be read; none when it was.
        std::error_code failure;
    };

    virtual ~StoreMedium() = default;

    // The store's full path, as messages name it.
    virtual QString path() const = 0;
    virtual bool exists() const = 0;
    virtual Contents read() const = 0;
    // Replaces the whole store, or creates it: afterwards it holds the old
    // bytes or the new, never a part. Gives the reason on failure.
    virtual std::error_code replace(const QByteArray &bytes) = 0;
    // Waits up to that long for writes still out (a stalled disk); false when
    // some still are. A medium that never leaves one out has nothing to wait for.
    virtual bool settle(int milliseconds)
    {
        Q_UNUSED(milliseconds);
        return true;
    }
    // The program is closing: a wait for the disk asked from now on ends by
    // the deadline, its call failing as not answered.
    virtual void closeBy(QDeadlineTimer deadline) { Q_UNUSED(deadline); }
};
