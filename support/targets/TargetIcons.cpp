// SPDX-License-Identifier: GPL-3.0-or-later
#include "TargetIcons.h"

#include <QDir>
#include <QFile>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace TargetIcons {

namespace {

QStringList themedNames(GIcon *icon)
{
    QStringList names;
    if (G_IS_THEMED_ICON(icon)) {
        for (const gchar *const *name = g_themed_icon_get_names(G_THEMED_ICON(icon)); name && *name;
             ++name)
            names.append(QString::fromUtf8(*name));
    }
    return names;
}

// GIO's own icons for the user's folders: home and desktop alone, the
// others followed by the generic folder.
QStringList specialFolderNames(const QString &path)
{
    const QByteArray local = QFile::encodeName(QDir::cleanPath(path));
    if (local == g_get_home_dir())
        return {QStringLiteral("user-home")};
    if (local == g_get_user_special_dir(G_USER_DIRECTORY_DESKTOP))
        return {QStringLiteral("user-desktop")};
    static const std::pair<GUserDirectory, const char *> Folders[] = {
        {G_USER_DIRECTORY_DOCUMENTS, "folder-documents"},
        {G_USER_DIRECTORY_DOWNLOAD, "folder-download"},
        {G_USER_DIRECTORY_MUSIC, "folder-music"},
        {G_USER_DIRECTORY_PICTURES, "folder-pictures"},
        {G_USER_DIRECTORY_PUBLIC_SHARE, "folder-publicshare"},
        {G_USER_DIRECTORY_TEMPLATES, "folder-templates"},
        {G_USER_DIRECTORY_VIDEOS, "folder-videos"},
    };
    for (const auto &[folder, name] : Folders) {
        if (local == g_get_user_special_dir(folder)) {
            g_autoptr(GIcon) icon = g_themed_icon_new_with_default_fallbacks(name);
            return themedNames(icon);
        }
    }
    return {};
}

QString guessed(const EntryFacts &entry, const QByteArray *head, bool *uncertain)
{
    gboolean unsure = FALSE;
    g_autofree gchar *type =
        g_content_type_guess(QFile::encodeName(entry.fileName()).constData(),
                             head ? reinterpret_cast<const guchar *>(head->constData()) : nullptr,
                             head ? gsize(head->size()) : 0, &unsure);
    if (uncertain)
        *uncertain = unsure;
    return QString::fromUtf8(type);
}

} // namespace

QString typeByName(const EntryFacts &entry)
{
    const uint mode = entry.statMode;
    if (S_ISDIR(mode))
        return QStringLiteral("inode/directory");
    if (S_ISCHR(mode))
        return QStringLiteral("inode/chardevice");
    if (S_ISBLK(mode))
        return QStringLiteral("inode/blockdevice");
    if (S_ISFIFO(mode))
        return QStringLiteral("inode/fifo");
    if (S_ISSOCK(mode))
        return QStringLiteral("inode/socket");
    // An empty file is not read: it may be one that only looks plain (in /proc).
    if (entry.size == 0)
        return QStringLiteral("text/plain");
    bool uncertain = false;
    const QString type = guessed(entry, nullptr, &uncertain);
    return uncertain ? QString() : type;
}

QString typeByContent(const EntryFacts &entry, const QByteArray &head)
{
    const QString byName = typeByName(entry);
    return byName.isEmpty() ? guessed(entry, &head, nullptr) : byName;
}

QStringList namesFor(const EntryFacts &entry, const QString &type)
{
    if (entry.isDir()) {
        const QStringList special = specialFolderNames(entry.path);
        if (!special.isEmpty())
            return special;
    }
    g_autoptr(GIcon) icon = g_content_type_get_icon(type.toUtf8().constData());
    return themedNames(icon);
}

std::optional<EntryIcon> applicationIcon(const QByteArray &desktopEntry)
{
    g_autoptr(GKeyFile) entry = g_key_file_new();
    if (!g_key_file_load_from_data(entry, desktopEntry.constData(), gsize(desktopEntry.size()),
                                   G_KEY_FILE_NONE, nullptr))
        return std::nullopt;
    g_autofree gchar *type = g_key_file_get_string(entry, G_KEY_FILE_DESKTOP_GROUP,
                                                   G_KEY_FILE_DESKTOP_KEY_TYPE, nullptr);
    if (!type || qstrcmp(type, G_KEY_FILE_DESKTOP_TYPE_APPLICATION) != 0 ||
        g_key_file_get_boolean(entry, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_HIDDEN,
                               nullptr))
        return std::nullopt;
    g_autofree gchar *name = g_key_file_get_locale_string(
        entry, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_ICON, nullptr, nullptr);
    if (!name || !*name)
        return std::nullopt;
    if (g_path_is_absolute(name))
        return EntryIcon{{}, QFile::decodeName(name)};
    // A theme name written with its picture's extension, as GIO reads it.
    QByteArray themed(name);
    for (const char *extension : {".png", ".xpm", ".svg", ".svgz"}) {
        if (themed.endsWith(extension)) {
            themed.chop(qstrlen(extension));
            break;
        }
    }
    g_autoptr(GIcon) icon = g_themed_icon_new(themed.constData());
    return EntryIcon{themedNames(icon), {}};
}

} // namespace TargetIcons
