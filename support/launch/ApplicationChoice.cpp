// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationChoice.h"

#include <algorithm>

namespace ApplicationChoice {

namespace {

// The ids a mimeapps list names as the default for a type, in its order.
QStringList defaultsIn(const QByteArray &list, const QString &type)
{
    bool inDefaults = false;
    for (const QByteArray &raw : list.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inDefaults = line == QLatin1String("[Default Applications]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inDefaults && equals > 0 && line.left(equals).trimmed() == type)
            return line.mid(equals + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    }
    return {};
}

std::optional<QString> shown(const Desktop &desktop, const QString &id)
{
    const std::optional<Application> app = desktop.find(id.trimmed());
    if (app && app->shownHere)
        return app->id;
    return std::nullopt;
}

// The first application the lists name for the nearest type that has one.
std::optional<QString> fromLists(const Desktop &desktop, const QList<QByteArray> &lists,
                                 const QStringList &types)
{
    for (const QString &type : types) {
        for (const QByteArray &list : lists) {
            for (const QString &id : defaultsIn(list, type)) {
                if (const auto chosen = shown(desktop, id))
                    return chosen;
            }
        }
    }
    return std::nullopt;
}

QString xfceFileManager(const Desktop &desktop)
{
    for (const QByteArray &helpers : desktop.xfceHelpers) {
        for (const QByteArray &line : helpers.split('\n')) {
            if (line.trimmed().startsWith("FileManager="))
                return QString::fromUtf8(line.trimmed().mid(int(qstrlen("FileManager="))));
        }
    }
    return {};
}

// XFCE names a helper ("thunar"); the application is the one of that id or
// of that program.
std::optional<QString> fromXfceHelpers(const Desktop &desktop, const QList<Application> &candidates)
{
    const QString helper = xfceFileManager(desktop);
    if (helper.isEmpty())
        return std::nullopt;
    if (const auto chosen = shown(desktop, helper + QLatin1String(".desktop")))
        return chosen;
    for (const Application &app : candidates) {
        if (app.shownHere && app.executable.compare(helper, Qt::CaseInsensitive) == 0)
            return app.id;
    }
    return std::nullopt;
}

// The file managers desktops come with, where they name theirs in no list;
// KDE ranks Dolphin first by its preference, XFCE names Thunar in helpers.rc.
std::optional<QString> ownFileManager(const Desktop &desktop)
{
    static const std::pair<const char *, const char *> Own[] = {
        {"lxqt", "pcmanfm-qt.desktop"},
        {"lxde", "pcmanfm.desktop"},
        {"gnome", "org.gnome.Nautilus.desktop"},
        {"mate", "caja-folder-handler.desktop"},
        {"cinnamon", "nemo.desktop"},
    };
    for (const QString &name : desktop.names) {
        for (const auto &[owner, id] : Own) {
            if (name == QLatin1String(owner)) {
                if (const auto chosen = shown(desktop, QString::fromLatin1(id)))
                    return chosen;
            }
        }
    }
    return std::nullopt;
}

bool isFolder(const QStringList &types)
{
    return !types.isEmpty() && types.constFirst() == QLatin1String("inode/directory");
}

} // namespace

QString choose(const Desktop &desktop, const QStringList &types,
               const QList<Application> &candidates)
{
    if (const auto chosen = fromLists(desktop, desktop.userLists, types))
        return *chosen;
    if (desktop.names.contains(QLatin1String("xfce")) && isFolder(types)) {
        if (const auto chosen = fromXfceHelpers(desktop, candidates))
            return *chosen;
    }
    if (const auto chosen = fromLists(desktop, desktop.systemLists, types))
        return *chosen;
    if (isFolder(types)) {
        if (const auto chosen = ownFileManager(desktop))
            return *chosen;
    }

    QList<Application> ranked = candidates;
    if (desktop.names.contains(QLatin1String("kde"))) {
        std::stable_sort(
            ranked.begin(), ranked.end(),
            [](const Application &a, const Application &b) { return a.preference > b.preference; });
    }
    const auto first = std::find_if(ranked.cbegin(), ranked.cend(),
                                    [](const Application &app) { return app.shownHere; });
    return first != ranked.cend() ? first->id : QString();
}

} // namespace ApplicationChoice
