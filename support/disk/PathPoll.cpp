// SPDX-License-Identifier: GPL-3.0-or-later
#include "PathPoll.h"

#include <QFile>

#include <atomic>
#include <sys/stat.h>

namespace {

QByteArray statOf(const QString &path)
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

PathPoll::PathPoll(Look look, QObject *parent)
    : QObject(parent)
    , m_look(look ? std::move(look)
                  : Look([this](const QString &path) { seen(path, statOf(path)); }))
{
    m_timer.setInterval(PollMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &PathPoll::look);
}

void PathPoll::add(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (m_seen.contains(path))
            continue;
        m_seen.insert(path, std::nullopt);
        m_look(path);
    }
    if (m_seen.isEmpty())
        return;
    if (!said.exchange(true))
        qWarning("katalog: %s and the like cannot be watched (no more file watches, "
                 "fs.inotify.max_user_watches, or a file system that gives none); "
                 "changes are looked for every %d s instead",
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

void PathPoll::seen(const QString &path, const QByteArray &now)
{
    const auto found = m_seen.find(path);
    if (found == m_seen.end())
        return;
    const bool first = !found->has_value();
    const bool changed = !first && **found != now;
    *found = now;
    if (changed)
        Q_EMIT this->changed(path);
}

void PathPoll::look()
{
    for (const QString &path : m_seen.keys())
        m_look(path);
}
