// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

SingleInstance::SingleInstance(const QString &storePath)
    : m_folder(QFileInfo(storePath).absolutePath())
{}

SingleInstance::~SingleInstance()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

SingleInstance::Outcome SingleInstance::acquire()
{
    if (m_fd < 0) {
        m_fd = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    if (m_fd < 0)
        return Outcome::Unavailable;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return Outcome::Acquired;
    return errno == EWOULDBLOCK ? Outcome::AlreadyRunning : Outcome::Unavailable;
}
