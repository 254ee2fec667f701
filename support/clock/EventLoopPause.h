// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Pause.h"

// Sleeps in the event loop until the next event or the deadline, on a
// monotonic clock: no spinning, and midnight changes nothing.
class EventLoopPause : public Pause
{
public:
    void wait(int milliseconds) override;
};
