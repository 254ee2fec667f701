// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationChoice.h"

#include <QHash>

#include <glib.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace ApplicationChoice {

namespace {

// A key file as GLib reads it; one it cannot read names nothing.
class KeyFile
{
public:
    explicit KeyFile(const QByteArray &data)
    {
        if (!g_key_file_load_from_data(m_file.get(), data.constData(), gsize(data.size()),
                                       G_KEY_FILE_NONE, nullptr))
            m_file.reset(g_key_file_new());
    }

    // The ids a group lists under a type, in its order.
    QStringList ids(const char *group, const QString &type) const
    {
        g_auto(GStrv) ids = g_key_file_get_string_list(m_file.get(), group,
                                                       type.toUtf8().constData(), nullptr, nullptr);
        QStringList list;
        for (char **id = ids; id && *id; ++id)
            list.append(QString::fromUtf8(*id));
        return list;
    }

    std::optional<QString> string(const char *group, const char *key) const
    {
        g_autofree gchar *value = g_key_file_get_string(m_file.get(), group, key, nullptr);
        if (!value)
            return std::nullopt;
        return QString::fromUtf8(value);
    }

private:
    std::unique_ptr<GKeyFile, void (*)(GKeyFile *)> m_file{g_key_file_new(), g_key_file_free};
};

std::vector<KeyFile> read(const QList<QByteArray> &contents)
{
    std::vector<KeyFile> files;
    for (const QByteArray &content : contents)
        files.emplace_back(content);
    return files;
}

// The applications a more important list took from a type: no less
// important one gives them back for it.
using Removed = QHash<QString, QStringList>;

std::optional<QString> shown(const Desktop &desktop, const QString &id,
                             const QStringList &removed = {})
{
    if (removed.contains(id.trimmed()))
        return std::nullopt;
    const std::optional<Application> app = desktop.find(id.trimmed());
    if (app && app->shownHere)
        return app->id;
    return std::nullopt;
}

// The first application the lists name for the nearest type that has one.
std::optional<QString> fromLists(const Desktop &desktop, const std::vector<KeyFile> &lists,
                                 const QStringList &types, Removed &removed)
{
    for (const QString &type : types) {
        for (const KeyFile &list : lists) {
            for (const QString &id : list.ids("Default Applications", type)) {
                if (const auto chosen = shown(desktop, id, removed[type]))
                    return chosen;
            }
            removed[type] += list.ids("Removed Associations", type);
        }
    }
    return std::nullopt;
}

// XFCE names a helper ("thunar"), in a file of keys without a group; the
// application is the one of that id or of that program.
std::optional<QString> fromXfceHelpers(const Desktop &desktop, const QList<Application> &candidates)
{
    QString helper;
    for (const QByteArray &helpers : desktop.xfceHelpers) {
        if (const auto named = KeyFile("[Helpers]\n" + helpers).string("Helpers", "FileManager")) {
            helper = named->trimmed();
            break;
        }
    }
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
std::optional<QString> ownFileManager(const Desktop &desktop, const QStringList &removed)
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
                if (const auto chosen = shown(desktop, QString::fromLatin1(id), removed))
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
    Removed removed;
    if (const auto chosen = fromLists(desktop, read(desktop.userLists), types, removed))
        return *chosen;
    if (desktop.names.contains(QLatin1String("xfce")) && isFolder(types)) {
        if (const auto chosen = fromXfceHelpers(desktop, candidates))
            return *chosen;
    }
    if (const auto chosen = fromLists(desktop, read(desktop.systemLists), types, removed))
        return *chosen;
    const QStringList removedHere = types.isEmpty() ? QStringList() : removed[types.constFirst()];
    if (isFolder(types)) {
        if (const auto chosen = ownFileManager(desktop, removedHere))
            return *chosen;
    }

    QList<Application> ranked = candidates;
    if (desktop.names.contains(QLatin1String("kde"))) {
        std::stable_sort(
            ranked.begin(), ranked.end(),
            [](const Application &a, const Application &b) { return a.preference > b.preference; });
    }
    const auto first =
        std::find_if(ranked.cbegin(), ranked.cend(), [&removedHere](const Application &app) {
            return app.shownHere && !removedHere.contains(app.id);
        });
    return first != ranked.cend() ? first->id : QString();
}

} // namespace ApplicationChoice
