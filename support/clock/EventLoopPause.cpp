// SPDX-License-Identifier: GPL-3.0-or-later
#include "EventLoopPause.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void EventLoopPause::wait(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    const qint64 limit = qint64(milliseconds) * 1000000;
    while (clock.nsecsElapsed() <= limit) {
        const qint64 left = (limit - clock.nsecsElapsed()) / 1000000 + 1;
        QEventLoop loop;
        bool timedOut = false;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        timer.start(int(left));
        loop.exec();
        // Only the application's quitting ends our loop before the timer.
        if (!timedOut)
            return;
    }
}
