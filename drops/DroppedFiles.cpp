// SPDX-License-Identifier: GPL-3.0-or-later
#include "DroppedFiles.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace {

// Doubled slashes, "." and a trailing slash go; ".." stays, since "lnk/.."
// is not the folder that holds lnk when lnk is a link.
QString tidied(const QString &path)
{
    QStringList kept;
    for (const QString &part : path.split(QLatin1Char('/'))) {
        if (!part.isEmpty() && part != QLatin1String("."))
            kept.append(part);
    }
    return path.startsWith(QLatin1Char('/')) ? QLatin1Char('/') + kept.join(QLatin1Char('/'))
                                             : kept.join(QLatin1Char('/'));
}

} // namespace

QList<DroppedFile> copiedFiles(const QMimeData *data)
{
    static const QString Gnome = QStringLiteral("x-special/gnome-copied-files");
    if (!data || data->hasUrls() || !data->hasFormat(Gnome))
        return droppedFiles(data);
    // "copy" or "cut", then one URI a line.
    QList<QByteArray> lines = data->data(Gnome).split('\n');
    if (!lines.isEmpty())
        lines.removeFirst();
    QMimeData uris;
    uris.setData(QStringLiteral("text/uri-list"), lines.join("\r\n"));
    return droppedFiles(&uris);
}

QList<DroppedFile> droppedFiles(const QMimeData *data)
{
    QList<DroppedFile> files;
    if (!data || !data->hasUrls())
        return files;
    // MATE's desktop offers its Home icon by this address alone.
    static const QUrl CajaHome(QStringLiteral("x-caja-desktop:///home"));
    for (const QUrl &url : data->urls()) {
        if (url.matches(CajaHome, QUrl::StripTrailingSlash)) {
            files.append({QDir::homePath(), true, true});
            continue;
        }
        const QString host = url.host();
        if (!url.isLocalFile() || !(host.isEmpty() || host == QLatin1String("localhost")))
            continue;
        // Qt takes a host as part of a UNC-style path; the path alone is ours.
        const QString path = tidied(url.path(QUrl::FullyDecoded));
        if (path.isEmpty() || !path.startsWith(QLatin1Char('/')))
            continue;
        // The name's own bytes, against what its text would name.
        const QByteArray bytes =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        files.append({path, QFile::encodeName(url.path(QUrl::FullyDecoded)) == bytes,
                      url.path().endsWith(QLatin1Char('/'))});
    }
    return files;
}
