// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"

SingleInstance::SingleInstance(const QString &storePath)
    : m_path(storePath + QStringLiteral(".lock"))
    , m_lock(m_path)
{
    // Never age out a lock whose owner still runs, however long it has.
    m_lock.setStaleLockTime(0);
}

SingleInstance::Outcome SingleInstance::acquire()
{
    if (m_lock.tryLock(0))
        return Outcome::Acquired;
    return m_lock.error() == QLockFile::LockFailedError ? Outcome::AlreadyRunning
                                                        : Outcome::Unavailable;
}
