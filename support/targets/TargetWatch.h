// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

class DiskGateway;
class PathPoll;
class QTimer;

// Follows targets through the disk gateway's watches (and only where the
// system has no watches left, by a look every couple of seconds): each
// target's nearest existing folder (where it is deleted, renamed away or made
// again), the target itself when it is a folder (its "А", its volume going),
// and the mount table. Changes are gathered for a moment, then each changed
// target is named once. A target's folders are found as the gateway answers,
// however late; a file system without notification simply sends nothing.
class TargetWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr int SettleMilliseconds = 200;

    // The gateway must outlive this.
    explicit TargetWatch(DiskGateway &gateway, QObject *parent = nullptr);
    ~TargetWatch() override;

    void follow(const QStringList &targets);

Q_SIGNALS:
    void changed(const QString &target);

private:
    // Finds the folders to watch for target, then watches them.
    void findFolders(const QString &target);
    void climb(const QString &target, const QString &folder, QStringList found);
    void folderChanged(const QString &folder);
    void settle();
    void watch();

    DiskGateway &m_gateway;
    PathPoll *m_poll;
    QTimer *m_settle;
    int m_mounts = -1;
    // Target, and the folders watched for it.
    QHash<QString, QStringList> m_folders;
    QSet<QString> m_watched;
    QSet<QString> m_changed;
};
