// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopOpener.h"

#include "DisplayPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace {

const QString WorkingFolder = QStringLiteral("/");

GAppLaunchContext *newLaunchContext()
{
    GAppLaunchContext *context = g_app_launch_context_new();
    // The platform the panel chose for itself is not the launched program's.
    if (DisplayPlatform::forcedByPanel())
        g_app_launch_context_unsetenv(context, "QT_QPA_PLATFORM");
    return context;
}

void launchDefaultFinished(GObject *, GAsyncResult *result, gpointer)
{
    GError *error = nullptr;
    if (!g_app_info_launch_default_for_uri_finish(result, &error))
        g_clear_error(&error);
}

void launchDefaultForUri(const QByteArray &uri)
{
    GAppLaunchContext *context = newLaunchContext();
    g_app_info_launch_default_for_uri_async(uri.constData(), context, nullptr,
                                            launchDefaultFinished, nullptr);
    g_object_unref(context);
}

// Launches a .desktop file's application, or opens a link entry's URL.
// False when the file is neither.
bool launchDesktopEntry(const QString &path)
{
    const QByteArray localPath = QFile::encodeName(path);
    if (GDesktopAppInfo *app = g_desktop_app_info_new_from_filename(localPath.constData())) {
        GAppLaunchContext *context = newLaunchContext();
        GError *error = nullptr;
        if (!g_app_info_launch(G_APP_INFO(app), nullptr, context, &error))
            g_clear_error(&error);
        g_object_unref(context);
        g_object_unref(app);
        return true;
    }

    GKeyFile *entry = g_key_file_new();
    bool handled = false;
    if (g_key_file_load_from_file(entry, localPath.constData(), G_KEY_FILE_NONE, nullptr)) {
        gchar *type = g_key_file_get_string(entry, G_KEY_FILE_DESKTOP_GROUP,
                                            G_KEY_FILE_DESKTOP_KEY_TYPE, nullptr);
        gchar *url = g_key_file_get_string(entry, G_KEY_FILE_DESKTOP_GROUP,
                                           G_KEY_FILE_DESKTOP_KEY_URL, nullptr);
        if (type && url && qstrcmp(type, G_KEY_FILE_DESKTOP_TYPE_LINK) == 0) {
            launchDefaultForUri(url);
            handled = true;
        }
        g_free(type);
        g_free(url);
    }
    g_key_file_free(entry);
    return handled;
}

// Programs, and scripts with their interpreter line; a document that merely
// has the execute bit (as everything on a FAT disk does) is not one.
bool isProgram(const QFileInfo &info)
{
    if (!info.isFile() || !info.isExecutable())
        return false;
    GFile *file = g_file_new_for_path(QFile::encodeName(info.filePath()).constData());
    GFileInfo *type = g_file_query_info(file, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                        G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
    const char *contentType = type ? g_file_info_get_content_type(type) : nullptr;
    const bool program = contentType && g_content_type_can_be_executable(contentType);
    if (type)
        g_object_unref(type);
    g_object_unref(file);
    return program;
}

bool startProgram(const QString &path)
{
    QProcess process;
    process.setProgram(path);
    process.setWorkingDirectory(WorkingFolder);
    if (DisplayPlatform::forcedByPanel()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(environment);
    }
    return process.startDetached();
}

bool isWebAddress(const QString &target)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(target).hasMatch();
}

} // namespace

void DesktopOpener::open(const QString &target)
{
    if (target.isEmpty())
        return;
    if (isWebAddress(target)) {
        launchDefaultForUri(target.toUtf8());
        return;
    }

    const QString path = QDir(WorkingFolder).filePath(target);
    const QFileInfo info(path);
    if (!info.exists())
        return;
    if (info.isFile() && path.endsWith(QLatin1String(".desktop")) && launchDesktopEntry(path))
        return;
    if (isProgram(info) && startProgram(path))
        return;
    launchDefaultForUri(QUrl::fromLocalFile(path).toEncoded());
}
