// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PathPoll.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

// Tells when the store file has been changed on disk, by whoever: replaced by
// a rename (most editors, and the panel's own saves) or rewritten in place.
// Changes are told once the file has been left alone for a moment, so that a
// write in progress is not read half done. Kernel notification, and only
// where the user has no watches left, a look every couple of seconds.
class StoreWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr int SettleMilliseconds = 500;

    explicit StoreWatch(const QString &path, QObject *parent = nullptr);

Q_SIGNALS:
    void settled();

private:
    void rewatch();

    QString m_path;
    QFileSystemWatcher m_watcher;
    PathPoll m_poll;
    QTimer m_settle;
};
