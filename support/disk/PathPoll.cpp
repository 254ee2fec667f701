// SPDX-License-Identifier: GPL-3.0-or-later
#include "PathPoll.h"

#include <QFile>

#include <atomic>
#include <sys/stat.h>

namespace {

// What a path is now: nothing, or its file's identity, size and times.
QByteArray seenAs(const QString &path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return QByteArray::number(qulonglong(info.st_dev)) + ' ' +
           QByteArray::number(qulonglong(info.st_ino)) + ' ' +
           QByteArray::number(qlonglong(info.st_size)) + ' ' +
           QByteArray::number(qlonglong(info.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qlonglong(info.st_mtim.tv_nsec)) + ' ' +
           QByteArray::number(qlonglong(info.st_ctim.tv_sec)) + '.' +
           QByteArray::number(qlonglong(info.st_ctim.tv_nsec));
}

std::atomic<bool> said{false};

} // namespace

PathPoll::PathPoll(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(PollMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &PathPoll::look);
}

void PathPoll::add(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (!m_seen.contains(path))
            m_seen.insert(path, seenAs(path));
    }
    if (m_seen.isEmpty())
        return;
    if (!said.exchange(true))
        qWarning("katalog: the system gives no more file watches (fs.inotify.max_user_watches); "
                 "changes to %s and the like are looked for every %d s instead",
                 qUtf8Printable(paths.constFirst()), PollMilliseconds / 1000);
    if (!m_timer.isActive())
        m_timer.start();
}

void PathPoll::remove(const QStringList &paths)
{
    for (const QString &path : paths)
        m_seen.remove(path);
    if (m_seen.isEmpty())
        m_timer.stop();
}

void PathPoll::look()
{
    QStringList changed;
    for (auto it = m_seen.begin(); it != m_seen.end(); ++it) {
        QByteArray now = seenAs(it.key());
        if (now != it.value()) {
            it.value() = std::move(now);
            changed.append(it.key());
        }
    }
    for (const QString &path : changed)
        Q_EMIT this->changed(path);
}
