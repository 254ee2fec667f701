// SPDX-License-Identifier: GPL-3.0-or-later
#include "TargetWatch.h"

#include "support/disk/PathPoll.h"
#include "support/gateway/DiskGateway.h"

#include <QDir>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

TargetWatch::TargetWatch(DiskGateway &gateway, QObject *parent)
    : QObject(parent)
    , m_gateway(gateway)
    , m_poll(new PathPoll(
          [this](const QString &folder) {
              m_gateway.describe(folder, this, [this, folder](const EntryFacts *facts) {
                  m_poll->seen(folder, facts->identity);
              });
          },
          this))
    , m_settle(new QTimer(this))
{
    connect(&m_gateway, &DiskGateway::folderChanged, this, &TargetWatch::folderChanged);
    connect(m_poll, &PathPoll::changed, this, &TargetWatch::folderChanged);
    m_settle->setSingleShot(true);
    m_settle->setInterval(SettleMilliseconds);
    connect(m_settle, &QTimer::timeout, this, &TargetWatch::settle);
    // The kernel flags the mount table as changed when a volume comes or goes.
    m_mounts = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (m_mounts >= 0) {
        auto *notifier = new QSocketNotifier(m_mounts, QSocketNotifier::Exception, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] { folderChanged({}); });
    }
}

TargetWatch::~TargetWatch()
{
    if (m_mounts >= 0)
        ::close(m_mounts);
}

void TargetWatch::follow(const QStringList &targets)
{
    QHash<QString, QStringList> folders;
    for (const QString &target : targets) {
        if (target.isEmpty() || folders.contains(target))
            continue;
        folders.insert(target, m_folders.value(target));
    }
    m_folders = folders;
    for (auto it = m_folders.cbegin(); it != m_folders.cend(); ++it) {
        if (it->isEmpty())
            findFolders(it.key());
    }
    watch();
}

void TargetWatch::findFolders(const QString &target)
{
    const QString path = QDir::cleanPath(QDir(QStringLiteral("/")).filePath(target));
    m_gateway.describe(path, this, [this, target, path](const EntryFacts *facts) {
        climb(target, QDir::cleanPath(path + QLatin1String("/..")),
              facts->isDir() ? QStringList{path} : QStringList());
    });
}

void TargetWatch::climb(const QString &target, const QString &folder, QStringList found)
{
    // The nearest folder that is there, "/" at the last.
    const auto done = [this, target, folder](QStringList found) {
        if (!found.contains(folder))
            found.append(folder);
        if (!m_folders.contains(target))
            return; // no longer followed
        m_folders[target] = found;
        watch();
    };
    if (folder == QLatin1String("/"))
        return done(found);
    m_gateway.describe(folder, this, [this, target, folder, found, done](const EntryFacts *facts) {
        if (facts->isDir())
            return done(found);
        climb(target, QDir::cleanPath(folder + QLatin1String("/..")), found);
    });
}

void TargetWatch::folderChanged(const QString &folder)
{
    for (auto it = m_folders.cbegin(); it != m_folders.cend(); ++it) {
        // Every target may be on a volume that came or went.
        if (folder.isEmpty() || it.value().contains(folder))
            m_changed.insert(it.key());
    }
    if (!m_changed.isEmpty() && !m_settle->isActive())
        m_settle->start();
}

void TargetWatch::settle()
{
    const QSet<QString> targets = std::exchange(m_changed, {});
    for (const QString &target : targets) {
        if (!m_folders.contains(target))
            continue;
        findFolders(target);
        Q_EMIT changed(target);
    }
}

void TargetWatch::watch()
{
    QSet<QString> wanted;
    for (const QStringList &folders : std::as_const(m_folders))
        wanted.unite(QSet<QString>(folders.cbegin(), folders.cend()));
    const QStringList polled = m_poll->paths();
    QStringList gone;
    for (const QString &folder : m_watched + QSet<QString>(polled.cbegin(), polled.cend())) {
        if (!wanted.contains(folder))
            gone.append(folder);
    }
    for (const QString &folder : gone) {
        m_watched.remove(folder);
        m_gateway.unwatch(folder);
    }
    m_poll->remove(gone);
    for (const QString &folder : std::as_const(wanted)) {
        if (m_watched.contains(folder) || m_poll->paths().contains(folder))
            continue;
        m_watched.insert(folder);
        // A folder the system will not watch (no watches left) is looked at.
        m_gateway.watch(folder, this, [this, folder](int) {
            if (m_watched.remove(folder))
                m_poll->add({folder});
        });
    }
}
