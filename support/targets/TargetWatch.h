// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

class PathPoll;
class QFileSystemWatcher;
class QTimer;

// Follows targets through the kernel's change notification (and only where
// the user has no watches left, by a look every couple of seconds):
// each target's nearest existing folder (where it is deleted, renamed away or
// made again), the target itself when it is a folder (its "А", its volume
// going), and the mount table. Changes are gathered for a moment, then each
// changed target is named once. Setting a watch looks the path up, which a
// hung share would hold, so this lives on a thread of its own (call follow()
// and answered() on that thread), and a target whose disk does not answer at
// once gets its watches when its look-up is answered. A file system without notification simply sends nothing.
class TargetWatch : public QObject
{
    Q_OBJECT

public:
    explicit TargetWatch(QObject *parent = nullptr);
    ~TargetWatch() override;

    void follow(const QStringList &targets);
    // The target's disk has answered a look-up.
    void answered(const QString &target);

Q_SIGNALS:
    void changed(const QString &target);

private:
    void start();
    void pathChanged(const QString &path);
    void settle();
    void watch();

    QFileSystemWatcher *m_watcher = nullptr;
    PathPoll *m_poll = nullptr;
    QTimer *m_settle = nullptr;
    int m_mounts = -1;
    // Target, and the paths watched for it.
    QHash<QString, QStringList> m_watches;
    QSet<QString> m_changed;
};
