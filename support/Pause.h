// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Waits while the user interface stays live: events, other handlers and
// further pauses run meanwhile.
class Pause
{
public:
    virtual ~Pause() = default;
    // Returns once strictly more than the given milliseconds have passed, or
    // at once when the application is quitting. A pause nested inside another
    // finishes first.
    virtual void wait(int milliseconds) = 0;
};
