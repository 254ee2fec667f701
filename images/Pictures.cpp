// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pictures.h"

namespace Pictures {

QIcon windowIcon()
{
    return QIcon(QStringLiteral(":/images/window-icon.png"));
}

QPixmap eraser()
{
    return QPixmap(QStringLiteral(":/images/eraser.png"));
}

QPixmap dragIcon()
{
    return QPixmap(QStringLiteral(":/images/drag-eraser.png"));
}

QPixmap helpPicture()
{
    return QPixmap(QStringLiteral(":/images/help.jpg"));
}

QPixmap letterTile(int code)
{
    return QPixmap(QStringLiteral(":/images/letters/%1.png").arg(code));
}

} // namespace Pictures
