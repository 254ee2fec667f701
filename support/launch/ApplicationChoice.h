// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Which application opens a folder, a document or a web address on the
// desktop the user is in, as that desktop's own opener chooses it:
// 1. the user's choice in their mimeapps lists;
// 2. for folders under XFCE, the preferred file manager of its helpers.rc;
// 3. the desktop's and the system's mimeapps lists;
// 4. for folders, the file manager that comes with the desktop (LXQt's
//    pcmanfm-qt, GNOME's Nautilus, MATE's Caja), which they keep in no list;
// 5. any application that takes the type (under KDE, the one it prefers).
// An application that OnlyShowIn/NotShowIn hides from this desktop is never
// chosen, nor one a list's [Removed Associations] took from the type, by any
// source after that list (helpers.rc, the user's own choice there, aside).
// The lists as GLib's key files read them; an application's id out: no disk.
namespace ApplicationChoice {

struct Application
{
    QString id;            // its desktop file's id, such as "thunar.desktop"
    QString executable;    // the file name of the program it runs
    bool shownHere = true; // meant for the desktop the user is in
    int preference = 0;    // InitialPreference, which KDE ranks by
};

struct Desktop
{
    QStringList names;             // XDG_CURRENT_DESKTOP's names, lower case
    QList<QByteArray> userLists;   // the user's mimeapps lists, strongest first
    QList<QByteArray> systemLists; // the desktop's and the system's, strongest first
    QList<QByteArray> xfceHelpers; // XFCE's helpers.rc files, the user's first
    // An installed application by id; nothing when there is none.
    std::function<std::optional<Application>(const QString &id)> find;
};

// types: the type and its parent types, nearest first ("text/x-csrc",
// "text/plain"). candidates: the applications that say they take the first
// type, in the system's order. An empty id when nothing may open it.
QString choose(const Desktop &desktop, const QStringList &types,
               const QList<Application> &candidates);

} // namespace ApplicationChoice
