// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Keeps a second panel from running on the same store: each would rewrite it
// from its own list and undo the other's changes. The lock is an advisory
// lock on the store's folder itself, held while this object lives: there is
// no lock file a user could delete as junk, and the system drops the lock
// when the process ends, however it ends. Programs the panel starts do not
// inherit it.
class SingleInstance
{
public:
    enum class Outcome {
        Acquired,
        AlreadyRunning,
        // The folder cannot even be opened: nothing else can be running on a
        // store there, so the panel goes on.
        Unavailable,
    };

    explicit SingleInstance(const QString &storePath);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    Outcome acquire();
    // Once acquire() said AlreadyRunning: the name of the user whose panel
    // holds the folder, when it is another user's.
    std::optional<QString> holdersName() const;

private:
    QString m_folder;
    int m_fd = -1;
};
