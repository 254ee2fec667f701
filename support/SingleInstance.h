// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>

// Keeps a second panel from running on the same store: each would rewrite it
// from its own list and undo the other's changes. The lock is a file beside
// the store, held until this object goes; a lock left by a process that died
// is taken over.
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

    Outcome acquire();
    QString lockPath() const { return m_path; }

private:
    QString m_path;
    QLockFile m_lock;
};
