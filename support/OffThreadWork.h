// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaObject>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>
#include <thread>

// Runs blocking work off the user-interface thread, each piece on a thread of
// its own so that one that never returns (a hung share) holds up no other.
// Work is keyed: while a key's work is outstanding, the same key is not
// started again, so a target that never answers costs one thread however
// often it is asked about. Results come back on the thread that owns this
// object. Work still running when it goes is left to finish, or hang, on its
// own, and its result is dropped.
class OffThreadWork : public QObject
{
public:
    explicit OffThreadWork(QObject *parent = nullptr)
        : QObject(parent)
    {}
    ~OffThreadWork() override
    {
        const QMutexLocker lock(&m_mailbox->mutex);
        m_mailbox->owner = nullptr;
    }

    bool isOutstanding(const QString &key) const { return m_outstanding.contains(key); }

    // False, doing nothing, while the key's work is outstanding.
    template <typename Result>
    bool start(const QString &key, std::function<Result()> work,
               std::function<void(const Result &)> done)
    {
        if (m_outstanding.contains(key))
            return false;
        m_outstanding.insert(key);
        std::thread([mailbox = m_mailbox, key, work = std::move(work), done = std::move(done)] {
            auto result = std::make_shared<Result>(work());
            const QMutexLocker lock(&mailbox->mutex);
            if (OffThreadWork *owner = mailbox->owner) {
                QMetaObject::invokeMethod(
                    owner,
                    [owner, key, result, done] {
                        owner->m_outstanding.remove(key);
                        done(*result);
                    },
                    Qt::QueuedConnection);
            }
        }).detach();
        return true;
    }

private:
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
    QSet<QString> m_outstanding;
};
