// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiskStore.h"

#include "SystemReason.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// The number of the call that just failed; Qt may have lost it, and then
// it was the disk.
std::error_code failureOf(int error)
{
    return {error ? error : EIO, std::generic_category()};
}

} // namespace

DiskStore::DiskStore(QString path)
    : m_path(std::move(path))
{}

bool DiskStore::exists() const
{
    return QFileInfo::exists(path());
}

StoreMedium::Contents DiskStore::read() const
{
    // Opened without waiting (a pipe would wait for a writer) and read only
    // when it is a plain file of a store's size: a device never ends.
    const int fd = ::open(QFile::encodeName(path()).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {{}, lastSystemError()};
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        const std::error_code error = lastSystemError();
        ::close(fd);
        return {{}, error};
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        if (S_ISDIR(info.st_mode))
            return {{}, std::make_error_code(std::errc::is_a_directory)};
        return {{}, DiskFailure::NotPlainFile};
    }
    QFile file;
    errno = 0;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return {{}, failureOf(errno)};
    errno = 0;
    QByteArray bytes = file.read(LargestStore + 1);
    if (file.error() != QFileDevice::NoError)
        return {{}, failureOf(errno)};
    if (bytes.size() > LargestStore)
        return {{}, DiskFailure::LargerThanStore};
    return {bytes, {}};
}

// Where the folder takes no new file, the store is written over where it
// is: its blocks are set aside first, so that a full disk stops the save
// before it changes a byte; then one write from the start, which a kill
// leaves whole or undone for a store of a page or so; a shorter store is cut
// to its length last.
static std::error_code rewriteInPlace(const QString &path, const QByteArray &bytes)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return lastSystemError();
    const auto failed = [fd] {
        const std::error_code error = lastSystemError();
        ::close(fd);
        return error;
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
    return {};
}

namespace {

constexpr char AccessAcl[] = "system.posix_acl_access";

// Gives a new store the old one's owner, group, mode and access list; false
// where that is not allowed (a group the user is not in, another's file).
bool takeOver(int fd, const QString &oldPath, const struct stat &old)
{
    struct stat made = {};
    if (::fstat(fd, &made) != 0)
        return false;
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        return false;
    char acl[4096];
    const ssize_t size =
        ::getxattr(QFile::encodeName(oldPath).constData(), AccessAcl, acl, sizeof acl);
    return size <= 0 || ::fsetxattr(fd, AccessAcl, acl, size_t(size), 0) == 0;
}

} // namespace

std::error_code DiskStore::replace(const QByteArray &bytes)
{
    // Through a link, the file it leads to is the store.
    struct stat old = {};
    const QByteArray local = QFile::encodeName(path());
    const bool replacing = ::stat(local.constData(), &old) == 0 && S_ISREG(old.st_mode);
    QSaveFile file(path());
    // Unbuffered, so that a failing write (a full disk) is seen here and the
    // temporary file is dropped: with Qt's write buffer the failure would come
    // at commit(), whose flush errors do not stop the rename.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // A shared install may make only the store writable for its user.
        const std::error_code reason = failureOf(errno);
        if (QFileInfo::exists(path()))
            return rewriteInPlace(path(), bytes);
        return reason;
    }
    // A store shared through its group or an access list stays shared: where
    // the new file cannot be given them, the store is written where it is.
    if (replacing && !takeOver(int(file.handle()), path(), old) &&
        ::access(local.constData(), W_OK) == 0) {
        file.cancelWriting();
        return rewriteInPlace(path(), bytes);
    }
    if (file.write(bytes) != bytes.size()) {
        const std::error_code reason = failureOf(errno);
        file.cancelWriting();
        return reason;
    }
    errno = 0;
    if (!file.commit())
        return failureOf(errno);
    return {};
}
