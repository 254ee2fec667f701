// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontFaces.h"

#include <QFont>
#include <QStringList>

namespace FontFaces {

void mapWindowsFaces()
{
    // Liberation Sans has Arial's metrics; Microsoft Sans Serif is close to
    // them too. DejaVu is the last resort Debian always has. Arial Black
    // stands in as Liberation Sans too, at whatever weight the text asks
    // for: DejaVu's bold face is too wide for the fixed boxes laid out for
    // Arial Black.
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    for (const QString &face : {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                                QStringLiteral("Arial Black")})
        QFont::insertSubstitutions(face, sans);
}

} // namespace FontFaces
