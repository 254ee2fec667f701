// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// Where a window of fixed size and stored place goes on a screen.
namespace ScreenPlacement {

// The client area as stored wherever the whole window (client and frame)
// fits the available area; otherwise moved the least distance that makes it
// fit, or to the area's top left edge along a side that is too short.
QRect fit(const QRect &client, const QMargins &frame, const QRect &available);

// Places the window's client area at its stored place, fitted to the
// available area of the screen it falls on.
void place(QWidget *window, const QRect &client);

} // namespace ScreenPlacement
