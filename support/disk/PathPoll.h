// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Stands in for the kernel's change notification where it has none left (the
// user's inotify watches used up): looks at its few paths every couple of
// seconds and tells a path whose file or folder came, went, or changed its
// time, size or identity. No timer runs while it has no paths. The first
// path it takes is said once on standard error, since the user may want to
// raise the limit.
class PathPoll : public QObject
{
    Q_OBJECT

public:
    static constexpr int PollMilliseconds = 2000;

    explicit PathPoll(QObject *parent = nullptr);

    void add(const QStringList &paths);
    void remove(const QStringList &paths);
    QStringList paths() const { return m_seen.keys(); }

Q_SIGNALS:
    void changed(const QString &path);

private:
    void look();

    QHash<QString, QByteArray> m_seen; // path, and what it was last seen as
    QTimer m_timer;
};
