// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QWidget;

// Dresses a top-level window as all of the program's windows are: its title,
// the alphabet-blocks icon, a client area of fixed size at a fixed place, and
// a plain background.
void setUpFixedWindow(QWidget *window, const QString &title, const QRect &clientArea,
                      const QColor &background);

// Escape closes the window, as it does a dialog.
void closeOnEscape(QWidget *window);
