// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

// The pictures that come with the program, from its resources.
namespace Pictures {
QIcon windowIcon();
QPixmap eraser();
QPixmap dragIcon();
// A finished catalogue as a file manager shows it, for the Help window.
QPixmap helpPicture();
// The tile of the catalogue letter with this Windows-1251 code.
QPixmap letterTile(int code);
} // namespace Pictures
