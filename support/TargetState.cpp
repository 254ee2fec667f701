// SPDX-License-Identifier: GPL-3.0-or-later
#include "TargetState.h"

#include <QPixmap>

QIcon TargetState::icon() const
{
    for (const QString &name : iconNames) {
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    if (!iconImage.isNull())
        return QIcon(QPixmap::fromImage(iconImage));
    return {};
}
