// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pictures.h"

#include <QGuiApplication>

namespace {

// The drawing at twice the size where the screens are dense; Qt reads the
// "@2x" in the name as its device pixel ratio, so it lays out as the 1x one.
QPixmap picture(const QString &name, const QString &suffix, qreal ratio)
{
    const QString base = QStringLiteral(":/images/") + name;
    if (ratio > 1) {
        QPixmap dense(base + QStringLiteral("@2x") + suffix);
        if (!dense.isNull())
            return dense;
    }
    return QPixmap(base + suffix);
}

const QString Png = QStringLiteral(".png");

} // namespace

namespace Pictures {

qreal screenRatio()
{
    return qApp ? qApp->devicePixelRatio() : 1.0;
}

QIcon windowIcon()
{
    QIcon icon(QStringLiteral(":/images/window-icon.png"));
    icon.addFile(QStringLiteral(":/images/window-icon@2x.png"));
    return icon;
}

QPixmap eraser(qreal ratio)
{
    return picture(QStringLiteral("eraser"), Png, ratio);
}

QPixmap dragIcon(qreal ratio)
{
    return picture(QStringLiteral("drag-eraser"), Png, ratio);
}

QPixmap helpPicture(qreal ratio)
{
    return picture(QStringLiteral("help"), QStringLiteral(".jpg"), ratio);
}

QPixmap letterTile(int code, qreal ratio)
{
    return picture(QStringLiteral("letters/%1").arg(code), Png, ratio);
}

} // namespace Pictures
