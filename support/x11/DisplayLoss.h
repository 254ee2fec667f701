// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDeadlineTimer>

#include <functional>

// Qt's X11 platform ends a program whose X connection breaks. Where the
// desktop session goes on without that X server (a Wayland compositor
// restarts its crashed XWayland on the same display), the panel comes back
// instead: while this object lives, a broken connection makes it
//  1. finish the store's saves still out (finishSaves, given
//     FinishMilliseconds; a disk that has not answered by then ends it);
//  2. look every LookMilliseconds, for at most LongestWaitMilliseconds,
//     whether the compositor's socket ($XDG_RUNTIME_DIR/$WAYLAND_DISPLAY)
//     still takes connections and whether the display takes an X connection;
//  3. once the display does, run its executable again with the arguments
//     and environment it was started with, passing on no descriptor: the new
//     start restores the place, the slots and the window hints as any start
//     does. Without a compositor (the X server was the session), once the
//     compositor is gone, or at the end of the wait, it ends as Qt ends it
//     (status 1).
// No event loop runs meanwhile (each would meet the broken connection again);
// a termination signal during step 2 ends the program at once. One line on standard error
// says what happened. Nothing happens off X11.
class DisplayLoss
{
public:
    static constexpr int FinishMilliseconds = 3000;
    static constexpr int LookMilliseconds = 250;
    static constexpr int LongestWaitMilliseconds = 30000;

    // True once the store's disk has done all that was asked of it, or false
    // at the deadline.
    using FinishSaves = std::function<bool(QDeadlineTimer deadline)>;
    explicit DisplayLoss(FinishSaves finishSaves);
    ~DisplayLoss();
    DisplayLoss(const DisplayLoss &) = delete;
    DisplayLoss &operator=(const DisplayLoss &) = delete;

    enum class Outcome { Back, SessionOver, NotBack };
    // Step 2, the display asked through displayAnswers: whether it took a
    // connection within the time given, having waited that long when not.
    static Outcome awaitDisplay(const std::function<bool(int milliseconds)> &displayAnswers);

private:
    FinishSaves m_finishSaves;
};
