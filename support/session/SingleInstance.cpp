// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

std::optional<QString> SingleInstance::holdersName() const
{
    struct stat folder = {};
    if (m_fd < 0 || ::fstat(m_fd, &folder) != 0)
        return std::nullopt;
    // The system's table of locks names the holder's process by the folder's
    // device and inode: "1: FLOCK  ADVISORY  WRITE 4242 08:01:1234 0 EOF".
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray place = QByteArray::number(major(folder.st_dev), 16).rightJustified(2, '0') +
                             ':' +
                             QByteArray::number(minor(folder.st_dev), 16).rightJustified(2, '0') +
                             ':' + QByteArray::number(qulonglong(folder.st_ino));
    // A file of /proc says it is empty: read to its end, not to its size.
    for (const QByteArray &line : locks.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 6 || fields.at(1) != "FLOCK" || fields.at(5) != place)
            continue;
        struct stat holder = {};
        const QByteArray process = "/proc/" + fields.at(4);
        if (::stat(process.constData(), &holder) != 0 || holder.st_uid == ::getuid())
            return std::nullopt;
        const passwd *user = ::getpwuid(holder.st_uid);
        return user ? QString::fromLocal8Bit(user->pw_name) : QString::number(holder.st_uid);
    }
    return std::nullopt;
}
