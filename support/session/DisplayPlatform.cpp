// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayPlatform.h"

#include <QByteArray>
#include <QDir>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QString>

#include <algorithm>

namespace DisplayPlatform {

QByteArray platformFor(const QByteArray &asked, const QStringList &installed,
                       const Session &session)
{
    // sway floats a fixed-size window and keeps it above tiled ones, and its
    // XWayland loses the first click after another window: native there.
    const bool native = session.wayland && (session.sway || !session.display);
    if (asked.isEmpty())
        return session.wayland && !native ? QByteArray("xcb") : asked;
    for (const QByteArray &entry : asked.split(';')) {
        if (installed.contains(QString::fromLocal8Bit(entry.split(':').constFirst()),
                               Qt::CaseInsensitive))
            return asked;
    }
    // Else Qt would end the program at once: at login, a panel that never
    // shows.
    const QStringList own = native ? QStringList{"wayland", "xcb"} : QStringList{"xcb", "wayland"};
    for (const QString &name : own) {
        if (installed.contains(name))
            return name.toLatin1();
    }
    return asked;
}

QStringList installedPlatforms()
{
    QStringList folders;
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM_PLUGIN_PATH"))
        folders.append(qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"));
    for (const QString &path :
         qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts))
        folders.append(path + QStringLiteral("/platforms"));
    folders.append(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    QStringList names;
    for (const QString &folder : folders) {
        for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files)) {
            // Read from the file: a plugin loaded would stay in the process.
            const QJsonObject data = QPluginLoader(file.filePath())
                                         .metaData()
                                         .value(QLatin1String("MetaData"))
                                         .toObject();
            for (const QJsonValue &key : data.value(QLatin1String("Keys")).toArray())
                names.append(key.toString());
        }
    }
    return names;
}

QByteArray choosePlatform()
{
    const QByteArray asked = qgetenv("QT_QPA_PLATFORM");
    const Session session{qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
                              qEnvironmentVariableIsSet("WAYLAND_DISPLAY"),
                          qEnvironmentVariableIsSet("DISPLAY"),
                          qEnvironmentVariableIsSet("SWAYSOCK")};
    // The plugins are looked at only for a platform the user named.
    const QByteArray chosen =
        platformFor(asked, asked.isEmpty() ? QStringList() : installedPlatforms(), session);
    if (chosen != asked) {
        qputenv("QT_QPA_PLATFORM", chosen);
        if (!asked.isEmpty())
            qWarning(
                "katalog: Qt has no platform plugin for QT_QPA_PLATFORM=%s here; running on %s",
                asked.constData(), chosen.constData());
    }
    return asked;
}

QByteArray wholeScale()
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    const QByteArray userScale = qgetenv("QT_SCALE_FACTOR");
    bool number = false;
    const double factor = userScale.toDouble(&number);
    if (number && factor > 0)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(std::max(1, qRound(factor))));
    return userScale;
}

void giveBack(const char *name, const QByteArray &userValue)
{
    if (userValue.isNull())
        qunsetenv(name);
    else
        qputenv(name, userValue);
}

} // namespace DisplayPlatform
