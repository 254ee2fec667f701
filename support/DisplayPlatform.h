// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A Wayland client can neither place its window nor keep it above others, so in
// a Wayland session the panel runs on XWayland when there is one, except under
// sway, which does better natively. Call before the application object is
// made.
namespace DisplayPlatform {
// True when it chose the platform: programs the panel starts must then not
// inherit that choice.
bool preferXWayland();
} // namespace DisplayPlatform
