// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <optional>

// Stands in for the kernel's change notification where it has none left (the
// user's inotify watches used up): looks at its few paths every couple of
// seconds and tells a path whose file or folder came, went, or changed its
// identity, size or times. No timer runs while it has no paths. The first
// path it takes is said once on standard error, since the user may want to
// raise the limit.
class PathPoll : public QObject
{
    Q_OBJECT

public:
    static constexpr int PollMilliseconds = 2000;
    // Asks what a path is now; the answer comes to seen(), at once or later.
    using Look = std::function<void(const QString &path)>;

    // Without look, paths are looked at here with stat.
    explicit PathPoll(Look look = {}, QObject *parent = nullptr);

    void add(const QStringList &paths);
    void remove(const QStringList &paths);
    QStringList paths() const { return m_seen.keys(); }
    // What path is now: its file's identity, size and times, or empty text
    // for nothing there.
    void seen(const QString &path, const QByteArray &now);

Q_SIGNALS:
    void changed(const QString &path);

private:
    void look();

    Look m_look;
    // Path, and what it was last seen as; nothing until first seen.
    QHash<QString, std::optional<QByteArray>> m_seen;
    QTimer m_timer;
};
