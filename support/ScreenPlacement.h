// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

class QWidget;

// Where a window of fixed size and stored place goes on a screen.
namespace ScreenPlacement {

// A screen: all of it, and the part windows may use.
struct Screen
{
    QRect geometry;
    QRect available;
};

// The client area on the screen whose whole area holds its centre, or,
// where none does, on the first screen (the primary): as stored wherever the
// whole window (client and frame) fits that screen's available area;
// otherwise moved the least distance that makes it fit, or to the area's top
// left edge along a side that is too short. As stored when there is no
// screen.
QRect placeOn(const QList<Screen> &screens, const QRect &client, const QMargins &frame);

// Places the window's client area at its stored place on this desktop's
// screens.
void place(QWidget *window, const QRect &client);

} // namespace ScreenPlacement
