// SPDX-License-Identifier: GPL-3.0-or-later
#include "IconTheme.h"

#include <QIcon>
#include <QStringList>

namespace IconTheme {

void ensureFallback()
{
    const QString installed = QStringLiteral("Adwaita");
    QIcon::setFallbackThemeName(installed);
    if (!QIcon::themeSearchPaths().contains(QStringLiteral("/usr/share/icons")))
        QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << QStringLiteral("/usr/share/icons"));
    const QString current = QIcon::themeName();
    if (current.isEmpty() || current == QLatin1String("hicolor"))
        QIcon::setThemeName(installed);
    QIcon::setFallbackSearchPaths(QIcon::fallbackSearchPaths()
                                  << QStringLiteral("/usr/share/pixmaps"));
}

} // namespace IconTheme
