// SPDX-License-Identifier: GPL-3.0-or-later
#include "PatientStore.h"

#include "support/reasons/SystemReason.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <utility>

// One thread takes the work in turn; it is left behind, as a hung look-up's
// thread is, if the disk never answers.
struct PatientStore::Worker
{
    std::mutex mutex;
    std::condition_variable more;
    std::deque<std::function<void()>> work;
    bool stopping = false;
    int outstanding = 0;           // asked and not yet told, on the user-interface thread
    QPointer<QEventLoop> settling; // a settle() waiting for the last answer, on that thread

    void run()
    {
        for (;;) {
            std::function<void()> next;
            {
                std::unique_lock lock(mutex);
                more.wait(lock, [this] { return stopping || !work.empty(); });
                if (work.empty())
                    return;
                next = std::move(work.front());
                work.pop_front();
            }
            next();
        }
    }
};

PatientStore::PatientStore(StoreMedium &disk)
    : m_disk(disk)
    , m_worker(std::make_shared<Worker>())
    , m_answers(std::make_unique<QObject>())
{
    std::thread([worker = m_worker] { worker->run(); }).detach();
}

PatientStore::~PatientStore()
{
    const std::lock_guard lock(m_worker->mutex);
    m_worker->stopping = true;
    m_worker->more.notify_one();
    m_answers.reset();
}

template <typename Result>
std::optional<Result> PatientStore::wait(std::function<Result()> work) const
{
    struct Answer
    {
        std::optional<Result> result;
        QPointer<QEventLoop> loop;
    };
    auto answer = std::make_shared<Answer>();
    ++m_asked;
    m_readBack.reset();
    QPointer<QObject> answers = m_answers.get();
    ++m_worker->outstanding;
    {
        const std::lock_guard lock(m_worker->mutex);
        m_worker->work.push_back([worker = m_worker, answer, answers, work = std::move(work)] {
            Result result = work();
            // Told on the user-interface thread, if this store is still there:
            // it goes under the same lock, so that nothing is posted to it
            // while it is being deleted.
            const std::lock_guard lock(worker->mutex);
            QMetaObject::invokeMethod(
                answers,
                [worker, answer, result = std::move(result)] {
                    answer->result = result;
                    if (--worker->outstanding == 0 && worker->settling)
                        worker->settling->quit();
                    if (answer->loop)
                        answer->loop->quit();
                },
                Qt::QueuedConnection);
        });
        m_worker->more.notify_one();
    }
    QEventLoop loop;
    answer->loop = &loop;
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (!m_closeBy.isForever())
        giveUp.start(int(m_closeBy.remainingTime()));
    // The work may have been told already, from within an earlier wait.
    if (!answer->result)
        loop.exec();
    return answer->result;
}

bool PatientStore::exists() const
{
    // Unanswered, it is taken as there: nothing is made over it.
    return wait<bool>([&disk = m_disk] { return disk.exists(); }).value_or(true);
}

StoreMedium::Contents PatientStore::read() const
{
    if (std::optional<Contents> readBack = std::exchange(m_readBack, std::nullopt))
        return *readBack;
    return wait<Contents>([&disk = m_disk] { return disk.read(); })
        .value_or(Contents{{}, DiskFailure::NotAnswered});
}

StoreMedium::Replaced PatientStore::replace(const QByteArray &bytes,
                                            const std::optional<QByteArray> &seen)
{
    // A save is read back at once: the read is done with the write, in one
    // hand-over to the disk's thread, and kept for the read that follows.
    using Written = std::pair<Replaced, Contents>;
    const int asked = m_asked + 1; // the number wait() gives this work
    const std::optional<Written> written = wait<Written>([&disk = m_disk, bytes, seen] {
        const Replaced replaced = disk.replace(bytes, seen);
        const bool stored = !replaced.failure && !replaced.theirs;
        return Written(replaced, stored ? disk.read() : Contents());
    });
    if (!written)
        return {DiskFailure::NotAnswered, {}};
    // Kept only while no other work was asked meanwhile (a handler that ran
    // during the wait): the disk may hold more than this save now.
    const Replaced &replaced = written->first;
    if (!replaced.failure && !replaced.theirs && asked == m_asked)
        m_readBack = written->second;
    return replaced;
}

bool PatientStore::settle(int milliseconds)
{
    if (m_worker->outstanding == 0)
        return true;
    QEventLoop loop;
    QTimer giveUp;
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    giveUp.start(milliseconds);
    // The last answer ends the wait as it is told.
    const QPointer<QEventLoop> outer = std::exchange(m_worker->settling, &loop);
    loop.exec();
    m_worker->settling = outer;
    if (m_worker->outstanding == 0 && outer) // settled within an outer wait: it ends too
        outer->quit();
    return m_worker->outstanding == 0;
}

bool PatientStore::finishWork(QDeadlineTimer deadline)
{
    // The work is done in the order asked: once this runs, all before it has.
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    {
        const std::lock_guard lock(m_worker->mutex);
        m_worker->work.push_back([done] { done->set_value(); });
        m_worker->more.notify_one();
    }
    if (deadline.isForever()) {
        finished.wait();
        return true;
    }
    return finished.wait_for(deadline.remainingTimeAsDuration()) == std::future_status::ready;
}
