// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// A Wayland client can neither place its window nor keep it above others, so in
// a Wayland session the panel runs on XWayland when there is one, except under
// sway, which does better natively. Call before the application object is
// made.
namespace DisplayPlatform {
// True when it chose the platform: programs the panel starts must then not
// inherit that choice.
bool preferXWayland();

// The panel is laid out in whole pixels, so it is drawn at a whole scale:
// the screen's own scale (MATE's 100 dpi gives 1.04) and QT_SCALE_FACTOR are
// rounded to the nearest whole number, at least 1 (1.25 is drawn as 1, 1.5
// as 2). Call before the application object is made; it returns the user's
// QT_SCALE_FACTOR, which keepUserScale() gives back to the programs the panel
// starts once that object exists.
QByteArray wholeScale();
void keepUserScale(const QByteArray &userScale);
} // namespace DisplayPlatform
