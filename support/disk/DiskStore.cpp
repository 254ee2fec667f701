// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiskStore.h"

#include "support/reasons/SystemReason.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
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

// The store's bytes through an open file, read only when it is a plain file
// of a store's size: a device never ends.
StoreMedium::Contents readFrom(int fd)
{
    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        return {{}, lastSystemError()};
    if (!S_ISREG(info.st_mode)) {
        if (S_ISDIR(info.st_mode))
            return {{}, std::make_error_code(std::errc::is_a_directory)};
        return {{}, DiskFailure::NotPlainFile};
    }
    QFile file;
    errno = 0;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return {{}, failureOf(errno)};
    errno = 0;
    QByteArray bytes = file.read(DiskStore::LargestStore + 1);
    if (file.error() != QFileDevice::NoError)
        return {{}, failureOf(errno)};
    if (bytes.size() > DiskStore::LargestStore)
        return {{}, DiskFailure::LargerThanStore};
    return {bytes, {}};
}

StoreMedium::Contents readFile(const QByteArray &path)
{
    // Opened without waiting: a pipe would wait for a writer.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {{}, lastSystemError()};
    StoreMedium::Contents contents = readFrom(fd);
    ::close(fd);
    return contents;
}

// What the store holds when it is not what the caller saw: another
// program's edit, or why it cannot be told.
std::optional<StoreMedium::Replaced> changedSince(const StoreMedium::Contents &now,
                                                  const std::optional<QByteArray> &seen)
{
    if (now.failure)
        return StoreMedium::Replaced{now.failure, {}};
    if (seen && now.bytes == *seen)
        return std::nullopt;
    return StoreMedium::Replaced{{}, now.bytes};
}

std::error_code writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::pwrite(fd, bytes.constData() + done, bytes.size() - done, done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return failureOf(written < 0 ? errno : 0);
        done += written;
    }
    return {};
}

// Where the folder takes no new file, the store is written over where it
// is: its blocks are set aside first, so that a full disk stops the save
// before it changes a byte; then one write from the start, which a kill
// leaves whole or undone for a store of a page or so; a shorter store is cut
// to its length last. Another program's edit is looked for just before the
// write: a file written where it stands allows no later look.
StoreMedium::Replaced rewriteInPlace(const QString &path, const QByteArray &bytes,
                                     const std::optional<QByteArray> &seen)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {lastSystemError(), {}};
    const auto failed = [fd] {
        const std::error_code error = lastSystemError();
        ::close(fd);
        return StoreMedium::Replaced{error, {}};
    };
    if (const auto changed = changedSince(readFrom(fd), seen)) {
        ::close(fd);
        return *changed;
    }
    if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, bytes.size()) != 0 && errno != EOPNOTSUPP)
        return failed();
    if (const std::error_code failure = writeAll(fd, bytes)) {
        ::close(fd);
        return {failure, {}};
    }
    if (::ftruncate(fd, bytes.size()) != 0 || ::fsync(fd) != 0)
        return failed();
    ::close(fd);
    return {};
}

constexpr char AccessAcl[] = "system.posix_acl_access";

// Gives a new store the old one's owner, group, mode and access list; false
// where that is not allowed (a group the user is not in, another's file).
bool takeOver(int fd, const QByteArray &oldPath, const struct stat &old)
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
    const ssize_t size = ::getxattr(oldPath.constData(), AccessAcl, acl, sizeof acl);
    return size <= 0 || ::fsetxattr(fd, AccessAcl, acl, size_t(size), 0) == 0;
}

// Through a link, the file it leads to is the store, also where the link
// leads nowhere yet.
QByteArray linkedFile(const QString &path)
{
    QFileInfo file(path);
    for (int depth = 0; depth < 40 && file.isSymLink(); ++depth)
        file.setFile(file.symLinkTarget());
    return QFile::encodeName(file.filePath());
}

// A new file beside the store, made as a new store would be (its mode as the
// user's mask leaves it).
int makeTemporary(const QByteArray &store, QByteArray &name)
{
    for (int tries = 0; tries < 64; ++tries) {
        name = store + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Puts the new file in the store's place while the store holds what the
// caller saw. Where the file system can, the two are swapped in one step
// and what came out is looked at after, so that another program's store
// renamed in at any moment before is found, and swapped back; elsewhere the
// store is looked at just before the rename. With nothing seen, no store is
// written over.
StoreMedium::Replaced swapIn(const QByteArray &made, const QByteArray &store,
                             const QByteArray &bytes, const std::optional<QByteArray> &seen)
{
    const auto drop = [&made](StoreMedium::Replaced replaced) {
        ::unlink(made.constData());
        return replaced;
    };
    const auto rename = [&](unsigned flags) {
        return ::renameat2(AT_FDCWD, made.constData(), AT_FDCWD, store.constData(), flags);
    };
    unsigned flags = seen ? RENAME_EXCHANGE : RENAME_NOREPLACE;
    int done = rename(flags);
    if (done != 0 && errno == ENOENT && seen) // gone meanwhile: made again
        done = rename(flags = RENAME_NOREPLACE);
    if (done != 0 && (errno == EINVAL || errno == ENOSYS)) {
        const StoreMedium::Contents now = readFile(store);
        if (now.failure != std::errc::no_such_file_or_directory) {
            if (const auto changed = changedSince(now, seen))
                return drop(*changed);
        }
        done = rename(flags = 0);
    }
    if (done != 0) {
        const int error = errno;
        if (error == EEXIST)
            return drop(*changedSince(readFile(store), std::nullopt));
        return drop({failureOf(error), {}});
    }
    if (flags != RENAME_EXCHANGE)
        return {};
    const auto changed = changedSince(readFile(made), seen);
    if (!changed)
        return drop({});
    // The other program's store goes back; should that fail, it stays under
    // the temporary name, never deleted.
    if (rename(RENAME_EXCHANGE) != 0)
        return {lastSystemError(), {}};
    // What comes out is the new file, unless a third program renamed its
    // store over it meanwhile: the newest, so it goes back in.
    const StoreMedium::Contents out = readFile(made);
    if (!out.failure && out.bytes != bytes && rename(0) == 0)
        return {{}, out.bytes};
    return drop(*changed);
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
    return readFile(QFile::encodeName(path()));
}

StoreMedium::Replaced DiskStore::replace(const QByteArray &bytes,
                                         const std::optional<QByteArray> &seen)
{
    const QByteArray store = linkedFile(path());
    struct stat old = {};
    const bool replacing = ::stat(store.constData(), &old) == 0 && S_ISREG(old.st_mode);
    QByteArray made;
    const int fd = makeTemporary(store, made);
    if (fd < 0) {
        // A shared install may make only the store writable for its user.
        const std::error_code reason = failureOf(errno);
        if (QFileInfo::exists(path()))
            return rewriteInPlace(path(), bytes, seen);
        return {reason, {}};
    }
    // A store shared through its group or an access list stays shared: where
    // the new file cannot be given them, the store is written where it is.
    const bool inPlace =
        replacing && !takeOver(fd, store, old) && ::access(store.constData(), W_OK) == 0;
    // A failing write (a full disk) leaves the store as it was.
    std::error_code failure = inPlace ? std::error_code() : writeAll(fd, bytes);
    if (!failure && !inPlace && ::fsync(fd) != 0)
        failure = lastSystemError();
    if (::close(fd) != 0 && !failure && !inPlace)
        failure = lastSystemError();
    if (inPlace || failure) {
        ::unlink(made.constData());
        return inPlace ? rewriteInPlace(path(), bytes, seen) : Replaced{failure, {}};
    }
    return swapIn(made, store, bytes, seen);
}
