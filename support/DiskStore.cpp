// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiskStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The C library's reason for the call that just failed: Qt's own may have
// lost it ("Unknown error").
QString reasonFor(const QFileDevice &file, int error)
{
    return error ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString();
}

} // namespace

DiskStore::DiskStore(std::function<QString()> path)
    : m_path(std::move(path))
{}

bool DiskStore::exists() const
{
    return QFileInfo::exists(path());
}

StoreMedium::Contents DiskStore::read() const
{
    QFile file(path());
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return {{}, reasonFor(file, errno)};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, reasonFor(file, errno)};
    return {bytes, std::nullopt};
}

// Where the folder takes no new file, the store is written over where it
// is: its blocks are set aside first, so that a full disk stops the save
// before it changes a byte; then one write from the start, which a kill
// leaves whole or undone for a store of a page or so; a shorter store is cut
// to its length last.
static std::optional<QString> rewriteInPlace(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    const auto failed = [fd] {
        const int error = errno;
        ::close(fd);
        return QString::fromLocal8Bit(std::strerror(error));
    };
    if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, bytes.size()) != 0 && errno != EOPNOTSUPP)
        return failed();
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::pwrite(fd, bytes.constData() + done, bytes.size() - done, done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return failed();
        done += written;
    }
    if (::ftruncate(fd, bytes.size()) != 0 || ::fsync(fd) != 0)
        return failed();
    ::close(fd);
    return std::nullopt;
}

std::optional<QString> DiskStore::replace(const QByteArray &bytes)
{
    QSaveFile file(path());
    // Unbuffered, so that a failing write (a full disk) is seen here and the
    // temporary file is dropped: with Qt's write buffer the failure would come
    // at commit(), whose flush errors do not stop the rename.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // A shared install may make only the store writable for its user.
        const QString reason = reasonFor(file, errno);
        if (QFileInfo::exists(path()))
            return rewriteInPlace(path(), bytes);
        return reason;
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = reasonFor(file, errno);
        file.cancelWriting();
        return reason;
    }
    errno = 0;
    if (!file.commit())
        return reasonFor(file, errno);
    return std::nullopt;
}
