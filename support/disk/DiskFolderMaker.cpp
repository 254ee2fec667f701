// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiskFolderMaker.h"

#include "support/reasons/SystemReason.h"

#include <QFile>

#include <sys/stat.h>

std::error_code DiskFolderMaker::makeFolder(const QString &path)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return {};
    return lastSystemError();
}
