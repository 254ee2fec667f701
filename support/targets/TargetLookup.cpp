// SPDX-License-Identifier: GPL-3.0-or-later
#include "TargetLookup.h"

#include "support/disk/DiskProbe.h"
#include "support/FolderExists.h"
#include "support/gio/GObjectRef.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace {

// Theme names, or a picture read here so that the user-interface thread
// does not touch the disk for it.
void describeIcon(GIcon *icon, TargetState &state)
{
    if (G_IS_THEMED_ICON(icon)) {
        for (const gchar *const *names = g_themed_icon_get_names(G_THEMED_ICON(icon));
             names && *names; ++names)
            state.iconNames.append(QString::fromUtf8(*names));
    } else if (G_IS_FILE_ICON(icon)) {
        g_autofree gchar *local = g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon)));
        if (local)
            state.iconImage.load(QFile::decodeName(local));
    }
}

bool describeDesktopApplicationIcon(const QByteArray &localPath, TargetState &state)
{
    GObjectRef<GDesktopAppInfo> app(g_desktop_app_info_new_from_filename(localPath.constData()));
    GIcon *icon = app ? g_app_info_get_icon(G_APP_INFO(app.get())) : nullptr;
    if (icon)
        describeIcon(icon, state);
    return !state.iconNames.isEmpty() || !state.iconImage.isNull();
}

void describeFileIcon(const QByteArray &localPath, TargetState &state)
{
    GObjectRef<GFile> file(g_file_new_for_path(localPath.constData()));
    GObjectRef<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_ICON,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    GIcon *icon = info ? g_file_info_get_icon(info.get()) : nullptr;
    if (icon)
        describeIcon(icon, state);
}

} // namespace

TargetState lookUpTarget(const QString &path, QChar catalogueLetter)
{
    // A share that never answers keeps its first question, and the rest
    // are not asked.
    DiskProbe::ask(path);
    // Each look-up may be slow: the target is looked up once for everything.
    const QFileInfo target(path);
    TargetState state;
    state.path = path;
    state.fileName = findEntryName(target, false);
    state.entryName = findEntryName(target, true);
    // The parts are joined as they are, as the probe always was.
    state.holdsFirstLetter = FolderExists(path + QLatin1Char('/') + catalogueLetter);

    if (state.fileName.isEmpty() && state.entryName.isEmpty() && !path.isEmpty()) {
        struct stat info = {};
        const int error = ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? 0 : errno;
        state.failed =
            error && error != ENOENT && error != ENOTDIR && error != ENAMETOOLONG && error != ELOOP;
    }
    if (path.isEmpty() || !target.exists())
        return state;
    const QByteArray localPath = QFile::encodeName(path);
    if (path.endsWith(QLatin1String(".desktop")) && target.isFile() &&
        describeDesktopApplicationIcon(localPath, state))
        return state;
    describeFileIcon(localPath, state);
    return state;
}
