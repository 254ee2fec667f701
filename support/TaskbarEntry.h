// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Asks the window manager to leave a top-level window out of the taskbar.
// Call before the window is first shown. Does nothing off X11.
void hideTaskbarEntry(QWidget *window);
