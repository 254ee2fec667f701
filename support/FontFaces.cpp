// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontFaces.h"

#include <QFont>
#include <QStringList>

namespace FontFaces {

void mapWindowsFaces()
{
    // Liberation Sans has Arial's metrics; Microsoft Sans Serif is close to
    // them too. DejaVu is the last resort Debian always has.
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("Microsoft Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
    QFont::insertSubstitutions(QStringLiteral("Arial Black"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}

} // namespace FontFaces
