// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <optional>
#include <system_error>

// Where the store's bytes live: a file on disk for the panel, memory in tests.
class StoreMedium
{
public:
    // A larger file is no store of the panel's: twelve slots take under
    // 4 KiB, even with long paths.
    static constexpr qsizetype LargestStore = 1 << 20;

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
    struct Replaced
    {
        // Why nothing was written; none when the store holds the new bytes,
        // or another program's (below).
        std::error_code failure;
        // Set when the store no longer held what the caller had seen: another
        // program's edit, left in place unchanged, and these are its bytes.
        std::optional<QByteArray> theirs;
    };
    // Replaces the whole store with bytes, or creates it, only while it holds
    // what the caller saw last (its bytes; nothing where there was no store),
    // so that another program's edit made since is never written over: then
    // the store keeps it, and the caller may make its change on top and try
    // again. A store gone meanwhile is made again. Afterwards the store holds
    // the old bytes or the new, never a part.
    virtual Replaced replace(const QByteArray &bytes, const std::optional<QByteArray> &seen) = 0;
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
