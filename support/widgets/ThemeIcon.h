// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QStringList>

// The first of these names the icon theme has, else the picture; a null icon
// when there is neither. The theme is searched when the icon is first drawn,
// as QIcon::fromTheme does, not while the window is still being put on screen.
QIcon themeIcon(const QStringList &names, const QImage &picture);
