// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

class QWidget;

// Where a window of fixed size and stored place goes on a screen.
namespace ScreenPlacement {

// The client area as stored wherever the whole window (client and frame)
// fits the available area; otherwise moved the least distance that makes it
// fit, or to the area's top left edge along a side that is too short.
QRect fit(const QRect &client, const QMargins &frame, const QRect &available);

// A screen: all of it, and the part windows may use.
struct Screen
{
    QRect geometry;
    QRect available;
};

// The client area fitted to the screen whose whole area holds its centre,
// or, where none does, to the first screen (the primary); as stored when
// there is no screen.
QRect placeOn(const QList<Screen> &screens, const QRect &client, const QMargins &frame);

// Places the window's client area at its stored place on this desktop's
// screens.
void place(QWidget *window, const QRect &client);

} // namespace ScreenPlacement
