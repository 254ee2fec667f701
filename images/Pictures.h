// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

// The pictures that come with the program, from its resources. Each is drawn
// for a ratio of screen pixels to layout pixels: at 2 and more, a drawing
// twice the size that lays out as the plain one.
namespace Pictures {
qreal screenRatio();
QIcon windowIcon();
QPixmap eraser(qreal ratio = screenRatio());
QPixmap dragIcon(qreal ratio = screenRatio());
// A finished catalogue as a file manager shows it, for the Help window.
QPixmap helpPicture(qreal ratio = screenRatio());
// The tile of the catalogue letter with this Windows-1251 code.
QPixmap letterTile(int code, qreal ratio = screenRatio());
} // namespace Pictures
