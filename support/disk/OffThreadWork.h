// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QMetaObject>
#include <QMutex>
#include <QObject>
#include <QQueue>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>
#include <thread>

// Runs blocking work off the user-interface thread, each piece on a thread of
// its own so that one that never returns (a hung share) holds up no other,
// with at most a few such threads at once: later work waits its turn, so
// however much hangs, the threads stay few. Work is keyed: while a key's
// work is outstanding (running or waiting), the same key is not started
// again. Results come back on the thread that owns this object. Work still
// running when it goes is left to finish, or hang, on its own, and its
// result is dropped.
class OffThreadWork : public QObject
{
public:
    explicit OffThreadWork(int mostThreads, QObject *parent = nullptr)
        : QObject(parent)
        , m_mostThreads(mostThreads)
    {}
    ~OffThreadWork() override
    {
        const QMutexLocker lock(&m_mailbox->mutex);
        m_mailbox->owner = nullptr;
    }

    // False, doing nothing, while the key's work is outstanding.
    template <typename Result>
    bool start(const QString &key, std::function<Result()> work,
               std::function<void(const Result &)> done)
    {
        if (m_outstanding.contains(key))
            return false;
        m_outstanding.insert(key);
        m_waiting.enqueue([this, key, work = std::move(work), done = std::move(done)] {
            run<Result>(key, work, done);
        });
        startWaiting();
        return true;
    }

private:
    template <typename Result>
    void run(const QString &key, std::function<Result()> work,
             std::function<void(const Result &)> done)
    {
        ++m_running;
        std::thread([mailbox = m_mailbox, key, work = std::move(work), done = std::move(done)] {
            auto result = std::make_shared<Result>(work());
            const QMutexLocker lock(&mailbox->mutex);
            if (OffThreadWork *owner = mailbox->owner) {
                QMetaObject::invokeMethod(
                    owner,
                    [owner, key, result, done] {
                        owner->m_outstanding.remove(key);
                        --owner->m_running;
                        done(*result);
                        owner->startWaiting();
                    },
                    Qt::QueuedConnection);
            }
        }).detach();
    }
    void startWaiting()
    {
        while (m_running < m_mostThreads && !m_waiting.isEmpty())
            m_waiting.dequeue()();
    }

    struct Mailbox
    {
        QMutex mutex;
        OffThreadWork *owner = nullptr;
    };
    std::shared_ptr<Mailbox> m_mailbox = [this] {
        auto mailbox = std::make_shared<Mailbox>();
        mailbox->owner = this;
        return mailbox;
    }();
    const int m_mostThreads;
    int m_running = 0;
    QSet<QString> m_outstanding;
    QQueue<std::function<void()>> m_waiting;
};
