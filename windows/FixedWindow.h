// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <Qt>

class QWidget;

// What a fixed window's title bar holds besides its title: a close box, and
// the window menu where the window has one; never a maximise or minimise
// button. Above other windows when on top.
enum class TitleBar { CloseBox, CloseBoxAndMenu };
Qt::WindowFlags fixedWindowFlags(TitleBar bar, bool onTop);

// Dresses a top-level window as all of the program's windows are: its title,
// the alphabet-blocks icon, a client area of fixed size at a fixed place, and
// a plain background.
void setUpFixedWindow(QWidget *window, const QString &title, const QRect &clientArea,
                      const QColor &background);

// A fixed window stays as it is: asked to maximise, go full screen or
// minimise, or resized by its manager, it goes back to its size and place.
// Once mapped, it is fitted to the screen again with its real frame, and Qt
// is told where the window really is when its manager said otherwise.
void keepFixed(QWidget *window);

// Escape closes the window, as it does a dialog.
void closeOnEscape(QWidget *window);
