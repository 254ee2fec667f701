// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreWatch.h"

#include <QFileInfo>

StoreWatch::StoreWatch(const QString &path, QObject *parent)
    : QObject(parent)
    , m_path(path)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, &StoreWatch::settled);
    // The folder sees a rename over the store; the file itself sees writes in place.
    const auto changed = [this] {
        m_settle.start();
        rewatch();
    };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, changed);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, changed);
    connect(&m_poll, &PathPoll::changed, this, changed);
    const QString folder = QFileInfo(path).absolutePath();
    if (!m_watcher.addPath(folder))
        m_poll.add({folder});
    rewatch();
}

void StoreWatch::rewatch()
{
    // A store replaced by a rename is a new file: the old one's watch is on
    // the file that went.
    if (m_watcher.files().contains(m_path))
        m_watcher.removePath(m_path);
    // Without watches left, the store is looked at instead.
    if (QFileInfo::exists(m_path) && !m_watcher.addPath(m_path))
        m_poll.add({m_path});
}
