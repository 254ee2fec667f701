// SPDX-License-Identifier: GPL-3.0-or-later
#include "DroppedFiles.h"

#include <QDir>
#include <QMimeData>
#include <QUrl>

QStringList droppedFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            files.append(QDir::cleanPath(url.toLocalFile()));
    }
    return files;
}
