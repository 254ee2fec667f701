// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiskStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
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
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}
