// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QPoint>
#include <QSize>

#include <optional>

class QWidget;

// What the panel asks of the window manager beyond what Qt says. Each says
// when to call it; they do nothing off X11.
namespace WindowManager {

// Puts a top-level window on every workspace, as docks are, and keeps it
// there when its window manager or a switch of workspace puts it on one.
// Call before the window is first shown (it creates the native window); it
// asks again itself once the window is mapped.
void showOnEveryWorkspace(QWidget *window);

// Leaves a top-level window out of the taskbar. Call before the window is
// first shown: an unmapped window states its wishes in its own property.
void hideTaskbarEntry(QWidget *window);

// Keeps a top-level window above its owner (it is transient for it). Call
// after each show: Qt's own mapping of the window clears the hint.
void keepAboveOwner(QWidget *window, QWidget *owner);

// Where the X server has the window's client area: some window managers
// report another place to Qt at first. Nothing off X11.
std::optional<QPoint> clientPlaceOnScreen(QWidget *window);

// Shows a shown window on top and gives it the focus, as a taskbar would:
// the user asked for it by starting the program again.
void bringToFront(QWidget *window);

// The frame the window manager would draw around a window of this size, in
// device pixels, asked before any window is shown. Empty off X11 and where
// the manager does not say within half a second.
QMargins frameEstimate(const QSize &client);

} // namespace WindowManager
