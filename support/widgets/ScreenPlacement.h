// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

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
// With an owner (the panel's place), the window goes on the owner's screen
// instead, its stored place taken from that screen's top left corner, and
// fitted the same way.
QRect placeOn(const QList<Screen> &screens, const QRect &client, const QMargins &frame,
              const QRect &owner = QRect());

// The scale a window is drawn at on a screen: the largest whole number, from
// the user's own (rounded) down to 1, at which the whole window fits the
// screen's available area. The client is its size at scale 1; the frame and
// the area are in device pixels, as the window manager draws the frame.
int fittingScale(int userScale, const QSize &client, const QMargins &frame, const QRect &available);

// Draws each screen, and each that comes later, at the fitting scale for a
// window of this client size and frame: all windows on a screen share its
// scale. Call once the application object exists, before any window is made.
void fitScreens(const QSize &client, const QMargins &frame);

// Places the window's client area at its stored place on this desktop's
// screens: a window with an owner on its owner's screen.
void place(QWidget *window, const QRect &client);

// Fits a window where it is now (its client area on the whole desktop) to
// the screen that holds it, once its frame is known.
void refit(QWidget *window, const QRect &client);

// A window with an owner, about to be shown again after its owner went to
// another screen, follows it there: same place from the screen's top left.
void followOwner(QWidget *window);

// Centres a dialog or message on its owner's screen, for one that has no
// place of its own, its frame taken to be as its owner's. Call before it is
// shown.
void centreOnOwnersScreen(QWidget *dialog, QWidget *owner);

} // namespace ScreenPlacement
