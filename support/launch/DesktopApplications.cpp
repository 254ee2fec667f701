// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopApplications.h"

#include "ApplicationChoice.h"
#include "support/gio/GObjectRef.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace {

using ApplicationChoice::Application;

QList<QByteArray> readAll(const QStringList &paths)
{
    QList<QByteArray> contents;
    for (const QString &path : paths) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            contents.append(file.read(1 << 20));
    }
    return contents;
}

// In each folder the desktops' own lists come before the generic one.
QStringList listsIn(const QStringList &folders, const QStringList &desktops)
{
    QStringList paths;
    for (const QString &folder : folders) {
        for (const QString &desktop : desktops)
            paths.append(folder + QLatin1Char('/') + desktop + QLatin1String("-mimeapps.list"));
        paths.append(folder + QLatin1String("/mimeapps.list"));
    }
    return paths;
}

QStringList withSuffix(const QStringList &folders, const QString &suffix)
{
    QStringList paths;
    for (const QString &folder : folders)
        paths.append(folder + suffix);
    return paths;
}

QString fromGLib(const gchar *folder)
{
    return QFile::decodeName(folder);
}

QStringList fromGLib(const gchar *const *folders)
{
    QStringList list;
    for (; folders && *folders; ++folders)
        list.append(fromGLib(*folders));
    return list;
}

Application described(GDesktopAppInfo *info)
{
    Application app;
    app.id = QString::fromUtf8(g_app_info_get_id(G_APP_INFO(info)));
    app.executable =
        QFileInfo(QString::fromUtf8(g_app_info_get_executable(G_APP_INFO(info)))).fileName();
    app.shownHere = g_desktop_app_info_get_show_in(info, nullptr);
    g_autofree gchar *preference = g_desktop_app_info_get_string(info, "InitialPreference");
    app.preference = preference ? QByteArray(preference).toInt() : 0;
    return app;
}

std::optional<Application> find(const QString &id)
{
    const GObjectRef<GDesktopAppInfo> info(g_desktop_app_info_new(id.toUtf8().constData()));
    if (!info)
        return std::nullopt;
    return described(info.get());
}

ApplicationChoice::Desktop thisDesktop()
{
    ApplicationChoice::Desktop desktop;
    for (const QString &name :
         qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        desktop.names.append(name.toLower());
    // As GLib knows them for this process, read once: GIO finds its
    // applications in the same folders.
    const QString configHome = fromGLib(g_get_user_config_dir());
    const QString dataHome = fromGLib(g_get_user_data_dir());
    const QStringList configDirs = fromGLib(g_get_system_config_dirs());
    const QStringList dataDirs = fromGLib(g_get_system_data_dirs());
    desktop.userLists =
        readAll(listsIn({configHome, dataHome + QLatin1String("/applications")}, desktop.names));
    desktop.systemLists = readAll(
        listsIn(configDirs + withSuffix(dataDirs, QStringLiteral("/applications")), desktop.names));
    if (desktop.names.contains(QLatin1String("xfce")))
        desktop.xfceHelpers = readAll(
            withSuffix(QStringList{configHome} + configDirs, QStringLiteral("/xfce4/helpers.rc")));
    desktop.find = find;
    return desktop;
}

} // namespace

namespace DesktopApplications {

GAppInfo *forType(const QString &type)
{
    QStringList types{type};
    const QMimeType mime = QMimeDatabase().mimeTypeForName(type);
    if (mime.isValid())
        types += mime.allAncestors();

    QList<Application> candidates;
    g_autolist(GAppInfo) all = g_app_info_get_all_for_type(type.toUtf8().constData());
    for (GList *item = all; item; item = item->next) {
        if (G_IS_DESKTOP_APP_INFO(item->data))
            candidates.append(described(G_DESKTOP_APP_INFO(item->data)));
    }

    const QString id = ApplicationChoice::choose(thisDesktop(), types, candidates);
    return id.isEmpty() ? nullptr : G_APP_INFO(g_desktop_app_info_new(id.toUtf8().constData()));
}

} // namespace DesktopApplications
