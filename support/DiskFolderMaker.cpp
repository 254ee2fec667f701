// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiskFolderMaker.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

std::optional<QString> DiskFolderMaker::makeFolder(const QString &path)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return std::nullopt;
    return QString::fromLocal8Bit(std::strerror(errno));
}
