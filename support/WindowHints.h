// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// What the panel asks of the window manager beyond what Qt says. Call before
// the window is first shown. They do nothing off X11.

// Leaves a top-level window out of the taskbar.
void hideTaskbarEntry(QWidget *window);

// Keeps a top-level window above its owner (it is transient for it).
void keepAboveOwner(QWidget *window, QWidget *owner);

// Shows a shown window on top and gives it the focus, as a taskbar would:
// the user asked for it by starting the program again.
void bringToFront(QWidget *window);
