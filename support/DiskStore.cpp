// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiskStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

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

std::optional<QString> DiskStore::replace(const QByteArray &bytes)
{
    QSaveFile file(path());
    // A shared install may make only the store writable for its user.
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a failing write (a full disk) is seen here and the
    // temporary file is dropped: with Qt's write buffer the failure would come
    // at commit(), whose flush errors do not stop the rename.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return reasonFor(file, errno);
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
