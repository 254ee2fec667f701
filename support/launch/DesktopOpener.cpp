// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopOpener.h"

#include "DesktopApplications.h"
#include "support/gio/GObjectRef.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <optional>

namespace {

const QString WorkingFolder = QStringLiteral("/");

// The desktop's reason for an open that failed goes to standard error, one
// line: a failed open is silent for the user.
void logFailure(const char *what, const QString &target, GError *&error)
{
    if (error)
        qWarning("katalog: %s %s: %s", what, qUtf8Printable(target), error->message);
    g_clear_error(&error);
}

// Opens with the application this desktop chooses for the type. Waits for
// the launch itself, not for any event loop to carry it on.
void launchForType(const QString &type, const QByteArray &uri)
{
    const GObjectRef<GAppInfo> app(DesktopApplications::forType(type));
    if (!app) {
        qWarning("katalog: cannot open %s: no application for %s here", uri.constData(),
                 qUtf8Printable(type));
        return;
    }
    const GObjectRef<GAppLaunchContext> context(g_app_launch_context_new());
    GList uris{const_cast<char *>(uri.constData()), nullptr, nullptr};
    GError *error = nullptr;
    if (!g_app_info_launch_uris(app.get(), &uris, context.get(), &error))
        logFailure("cannot open", QString::fromUtf8(uri), error);
}

QString schemeType(const QByteArray &uri)
{
    return QStringLiteral("x-scheme-handler/") +
           QString::fromLatin1(uri.left(uri.indexOf(':'))).toLower();
}

void openTarget(const QString &target, QStringList &followed);

bool isThisMachine(const char *host)
{
    return !host || g_ascii_strcasecmp(host, "localhost") == 0 ||
           g_ascii_strcasecmp(host, g_get_host_name()) == 0;
}

// A file on this machine opens as a slot holding its path would; any other
// address by the application for its scheme.
void openLinkUrl(const char *url, QStringList &followed)
{
    // Without a scheme it is no address, and could pass for an option.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    if (!scheme.match(QString::fromUtf8(url)).hasMatch()) {
        qWarning("katalog: cannot open %s: not an address", url);
        return;
    }
    if (g_ascii_strncasecmp(url, "file:", 5) != 0)
        return launchForType(schemeType(url), url);
    g_autofree gchar *host = nullptr;
    GError *error = nullptr;
    g_autofree gchar *path = g_filename_from_uri(url, &host, &error);
    if (!path)
        return logFailure("cannot open", QString::fromUtf8(url), error);
    // GIO would take another machine's path as one of this machine's.
    if (!isThisMachine(host)) {
        qWarning("katalog: cannot open %s: a file on another machine", url);
        return;
    }
    openTarget(QFile::decodeName(path), followed);
}

// $NAME and ${NAME} from the environment, $$ a dollar sign. Nothing else is
// expanded: a command ($(...)) stays as it is written, and is never run.
QByteArray expandVariables(const QByteArray &value)
{
    static const QRegularExpression variable(
        QStringLiteral("\\$(\\$|\\{([A-Za-z_][A-Za-z0-9_]*)\\}|([A-Za-z_][A-Za-z0-9_]*))"));
    const QString text = QString::fromUtf8(value);
    QString expanded;
    qsizetype done = 0;
    for (const QRegularExpressionMatch &match : variable.globalMatch(text)) {
        expanded += text.mid(done, match.capturedStart() - done);
        expanded += match.captured(1) == QLatin1String("$")
                        ? QStringLiteral("$")
                        : qEnvironmentVariable(qPrintable(match.captured(2) + match.captured(3)));
        done = match.capturedEnd();
    }
    return (expanded + text.mid(done)).toUtf8();
}

// A link entry's address; none where the file is no link entry. KDE writes
// the address as URL[$e], to be expanded from the environment: GKeyFile
// refuses that name, so such flags are taken off before it reads the entry.
std::optional<QByteArray> linkAddress(const QString &path)
{
    QFile file(path);
    if (file.size() > 64 * 1024 || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString text = QString::fromUtf8(file.readAll());
    static const QRegularExpression expanded(QStringLiteral("^\\s*URL\\[\\$e\\]"),
                                             QRegularExpression::MultilineOption);
    const bool expand = text.contains(expanded);
    static const QRegularExpression flag(QStringLiteral("^(\\s*[A-Za-z0-9-]+)\\[\\$[a-z]+\\]"),
                                         QRegularExpression::MultilineOption);
    const QByteArray data = text.replace(flag, QStringLiteral("\\1")).toUtf8();
    g_autoptr(GKeyFile) entry = g_key_file_new();
    if (!g_key_file_load_from_data(entry, data.constData(), gsize(data.size()), G_KEY_FILE_NONE,
                                   nullptr))
        return std::nullopt;
    g_autofree gchar *type = g_key_file_get_string(entry, G_KEY_FILE_DESKTOP_GROUP,
                                                   G_KEY_FILE_DESKTOP_KEY_TYPE, nullptr);
    g_autofree gchar *url =
        g_key_file_get_string(entry, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_URL, nullptr);
    if (!type || !url || qstrcmp(type, G_KEY_FILE_DESKTOP_TYPE_LINK) != 0)
        return std::nullopt;
    return expand ? expandVariables(url) : QByteArray(url);
}

// Launches a .desktop file's application, or opens a link entry's URL.
// False when the file is neither. followed: the link entries that led here.
bool launchDesktopEntry(const QString &path, QStringList &followed)
{
    const QByteArray localPath = QFile::encodeName(path);
    const GObjectRef<GDesktopAppInfo> app(
        g_desktop_app_info_new_from_filename(localPath.constData()));
    if (app) {
        const GObjectRef<GAppLaunchContext> context(g_app_launch_context_new());
        GError *error = nullptr;
        if (!g_app_info_launch(G_APP_INFO(app.get()), nullptr, context.get(), &error))
            logFailure("cannot launch", path, error);
        return true;
    }

    const std::optional<QByteArray> url = linkAddress(path);
    if (!url)
        return false;
    const QString self = QFileInfo(path).canonicalFilePath();
    if (followed.contains(self)) {
        qWarning("katalog: cannot open %s: its links lead back to it", qUtf8Printable(path));
        return true;
    }
    followed.append(self);
    openLinkUrl(url->constData(), followed);
    return true;
}

// Programs by type: machine code, or a script of a script type. A document
// that merely has the execute bit (as everything on a FAT disk does) is not
// one, even when it starts with "#!": GIO says text "can be executable", and
// file managers open such a file with its application rather than run it.
// The type is GIO's, from the name and the content, so a shell script named
// "invoice.pdf" is a PDF document and opens as one.
bool isProgramType(const char *type)
{
    static const char *const Programs[] = {
        "application/x-executable",
        "application/x-sharedlib",
        "application/x-pie-executable",
        "application/x-shellscript",
        "application/x-perl",
        "text/x-python",
        "text/x-python3",
        "application/x-ruby",
        "application/x-csh",
    };
    for (const char *program : Programs) {
        if (g_content_type_is_a(type, program))
            return true;
    }
    return false;
}

// GIO's type of a file, from its name and content; empty when it cannot say.
QString contentType(const QString &path)
{
    const GObjectRef<GFile> file(g_file_new_for_path(QFile::encodeName(path).constData()));
    const GObjectRef<GFileInfo> info(g_file_query_info(file.get(),
                                                       G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                       G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    const char *type = info ? g_file_info_get_content_type(info.get()) : nullptr;
    return type ? QString::fromUtf8(type) : QString();
}

bool isWebAddress(const QString &target)
{
    // A scheme and "//" (or mail); "Re:minutes.txt" is a file's name.
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*://|mailto:)"));
    return scheme.match(target).hasMatch();
}

bool startProgram(const QString &path)
{
    QProcess process;
    process.setProgram(path);
    process.setWorkingDirectory(WorkingFolder);
    return process.startDetached();
}

void openTarget(const QString &target, QStringList &followed)
{
    if (target.isEmpty())
        return;
    if (isWebAddress(target)) {
        launchForType(schemeType(target.toUtf8()), target.toUtf8());
        return;
    }

    const QString path = QDir(WorkingFolder).filePath(target);
    const QFileInfo info(path);
    if (!info.exists())
        return;
    if (info.isFile() && path.endsWith(QLatin1String(".desktop")) &&
        launchDesktopEntry(path, followed))
        return;
    const QString type = contentType(path);
    if (info.isFile() && info.isExecutable() && isProgramType(type.toUtf8().constData()) &&
        startProgram(path))
        return;
    launchForType(type, QUrl::fromLocalFile(path).toEncoded());
}

} // namespace

void DesktopOpener::open(const QString &target)
{
    QStringList followed;
    openTarget(target, followed);
}

void DesktopOpener::openFolder(const QString &path)
{
    launchForType(QStringLiteral("inode/directory"),
                  QUrl::fromLocalFile(QDir(WorkingFolder).filePath(path)).toEncoded());
}
