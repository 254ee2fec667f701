// SPDX-License-Identifier: GPL-3.0-or-later
#include "GioIconSource.h"

#include <QFile>
#include <QFileInfo>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <memory>

namespace {

template <typename T> struct GObjectDeleter
{
    void operator()(T *object) const { g_object_unref(object); }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectDeleter<T>>;

QIcon iconFromGIcon(GIcon *icon)
{
    if (G_IS_THEMED_ICON(icon)) {
        const gchar *const *names = g_themed_icon_get_names(G_THEMED_ICON(icon));
        for (; names && *names; ++names) {
            const QString name = QString::fromUtf8(*names);
            if (QIcon::hasThemeIcon(name))
                return QIcon::fromTheme(name);
        }
        return {};
    }
    if (G_IS_FILE_ICON(icon)) {
        GFile *file = g_file_icon_get_file(G_FILE_ICON(icon));
        gchar *local = g_file_get_path(file);
        QIcon result;
        if (local)
            result = QIcon(QFile::decodeName(local));
        g_free(local);
        return result;
    }
    return {};
}

QIcon desktopApplicationIcon(const QByteArray &localPath)
{
    GObjectPtr<GDesktopAppInfo> app(g_desktop_app_info_new_from_filename(localPath.constData()));
    if (!app)
        return {};
    GIcon *icon = g_app_info_get_icon(G_APP_INFO(app.get()));
    return icon ? iconFromGIcon(icon) : QIcon();
}

// Loads what every later look-up needs: the file system layer, the MIME
// globs, magic and icon tables. GIO guards them with its own locks.
void warmUp()
{
    (void)g_vfs_get_default();
    gchar *type = g_content_type_guess("warm-up.txt", reinterpret_cast<const guchar *>("text"), 4,
                                       nullptr);
    if (type) {
        GObjectPtr<GIcon> icon(g_content_type_get_icon(type));
        g_free(type);
    }
}

} // namespace

GioIconSource::GioIconSource()
    : m_warmUp(warmUp)
{
}

GioIconSource::~GioIconSource()
{
    m_warmUp.join();
}

QIcon GioIconSource::iconFor(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return {};
    const QByteArray localPath = QFile::encodeName(path);

    if (path.endsWith(QLatin1String(".desktop")) && QFileInfo(path).isFile()) {
        const QIcon own = desktopApplicationIcon(localPath);
        if (!own.isNull())
            return own;
    }

    GObjectPtr<GFile> file(g_file_new_for_path(localPath.constData()));
    GObjectPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_ICON,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (!info)
        return {};
    GIcon *icon = g_file_info_get_icon(info.get());
    return icon ? iconFromGIcon(icon) : QIcon();
}
