// SPDX-License-Identifier: GPL-3.0-or-later
#include "TargetWatch.h"

#include "support/disk/DiskProbe.h"
#include "support/disk/PathPoll.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int SettleMilliseconds = 200;
constexpr int ProbeMilliseconds = 200;

// The folders to watch for a target; none while its disk does not answer.
QStringList watchesFor(const QString &target)
{
    const QString path = QDir::cleanPath(QDir(QStringLiteral("/")).filePath(target));
    if (!DiskProbe::ask(path, ProbeMilliseconds))
        return {};
    QStringList watches;
    if (QFileInfo(path).isDir())
        watches.append(path);
    QString folder = QFileInfo(path).path();
    while (folder != QLatin1String("/") && !QFileInfo(folder).isDir())
        folder = QFileInfo(folder).path();
    if (!watches.contains(folder))
        watches.append(folder);
    return watches;
}

} // namespace

TargetWatch::TargetWatch(QObject *parent)
    : QObject(parent)
{}

TargetWatch::~TargetWatch()
{
    if (m_mounts >= 0)
        ::close(m_mounts);
}

void TargetWatch::start()
{
    m_watcher = new QFileSystemWatcher(this);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &TargetWatch::pathChanged);
    m_poll = new PathPoll(this);
    connect(m_poll, &PathPoll::changed, this, &TargetWatch::pathChanged);
    m_settle = new QTimer(this);
    m_settle->setSingleShot(true);
    m_settle->setInterval(SettleMilliseconds);
    connect(m_settle, &QTimer::timeout, this, &TargetWatch::settle);
    // The kernel flags the mount table as changed when a volume comes or goes.
    m_mounts = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (m_mounts >= 0) {
        auto *notifier = new QSocketNotifier(m_mounts, QSocketNotifier::Exception, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] { pathChanged({}); });
    }
}

void TargetWatch::follow(const QStringList &targets)
{
    if (!m_watcher)
        start();
    QHash<QString, QStringList> watches;
    for (const QString &target : targets) {
        if (target.isEmpty() || watches.contains(target))
            continue;
        const QStringList known = m_watches.value(target);
        watches.insert(target, known.isEmpty() ? watchesFor(target) : known);
    }
    m_watches = watches;
    watch();
}

void TargetWatch::answered(const QString &target)
{
    const auto known = m_watches.find(target);
    if (known == m_watches.end() || !known->isEmpty())
        return;
    *known = watchesFor(target);
    watch();
}

void TargetWatch::pathChanged(const QString &path)
{
    for (auto it = m_watches.cbegin(); it != m_watches.cend(); ++it) {
        // Every target may be on a volume that came or went.
        if (path.isEmpty() || it.value().contains(path))
            m_changed.insert(it.key());
    }
    if (!m_changed.isEmpty() && !m_settle->isActive())
        m_settle->start();
}

void TargetWatch::settle()
{
    const QSet<QString> targets = std::exchange(m_changed, {});
    for (const QString &target : targets) {
        if (m_watches.contains(target))
            m_watches[target] = watchesFor(target);
    }
    watch();
    for (const QString &target : targets)
        Q_EMIT changed(target);
}

void TargetWatch::watch()
{
    QSet<QString> wanted;
    for (const QStringList &paths : std::as_const(m_watches))
        wanted.unite(QSet<QString>(paths.cbegin(), paths.cend()));
    QStringList gone;
    for (const QString &path : m_watcher->directories() + m_poll->paths()) {
        if (!wanted.contains(path))
            gone.append(path);
    }
    if (!gone.isEmpty()) {
        m_watcher->removePaths(gone);
        m_poll->remove(gone);
    }
    for (const QString &path : m_watcher->directories())
        wanted.remove(path);
    // A folder the kernel will not watch (no watches left) is looked at.
    if (!wanted.isEmpty())
        m_poll->add(m_watcher->addPaths(QStringList(wanted.cbegin(), wanted.cend())));
}
