// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/StoreMedium.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

// The store with its disk work done on a thread of its own, in the order
// asked, while the user-interface thread waits in an event loop of its own:
// a disk that stalls a save keeps the window live (other slots open, other
// handlers run) as the pause does. Each call still returns its own answer,
// and a read asked after a write reads what that write left. A wait also
// ends when the program quits, or at the deadline it was given to close by;
// the call then fails and its work stays out.
class PatientStore : public StoreMedium
{
public:
    // The disk's medium must be safe to use from another thread.
    explicit PatientStore(StoreMedium &disk);
    ~PatientStore() override;

    QString path() const override { return m_disk.path(); }
    bool exists() const override;
    Contents read() const override;
    Replaced replace(const QByteArray &bytes, const std::optional<QByteArray> &seen) override;
    bool settle(int milliseconds) override;
    void closeBy(QDeadlineTimer deadline) override { m_closeBy = deadline; }
    // Waits on this thread, with no event loop, until the disk has done all
    // the work asked of it so far, or until the deadline; false when some is
    // still out. For a program that can run no event loop any more (its
    // display has gone) and must not leave a save unfinished. Answers not yet
    // told stay untold.
    bool finishWork(QDeadlineTimer deadline);

private:
    struct Worker;
    // The work's answer, or nothing when the program closed first.
    template <typename Result> std::optional<Result> wait(std::function<Result()> work) const;

    StoreMedium &m_disk;
    std::shared_ptr<Worker> m_worker;
    std::unique_ptr<QObject> m_answers; // where finished work is told, on this thread
    // What the disk held right after the last save, for the read that asks
    // next; any other question drops it.
    mutable std::optional<Contents> m_readBack;
    mutable int m_asked = 0; // work asked for so far
    QDeadlineTimer m_closeBy{QDeadlineTimer::Forever};
};
