// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Keeps a second panel from running on the same store: each would rewrite it
// from its own list and undo the other's changes. The lock is an advisory
// lock on a file beside the store, held while this object lives; the system
// drops it when the process ends, however it ends, so a panel that died
// leaves nothing to clear up.
class SingleInstance
{
public:
    enum class Outcome {
        Acquired,
        AlreadyRunning,
        // No lock could be made (a read-only folder, say): nothing else is
        // running on a store that cannot be written, so the panel goes on.
        Unavailable,
    };

    explicit SingleInstance(const QString &storePath);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    Outcome acquire();

private:
    QString m_path;
    int m_fd = -1;
};
