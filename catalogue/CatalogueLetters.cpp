// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogueLetters.h"

namespace CatalogueLetters {

QList<int> codes()
{
    QList<int> result;
    for (int code = FirstCode; code <= LastCode; ++code) {
        if (isCatalogueCode(code))
            result.append(code);
    }
    return result;
}

} // namespace CatalogueLetters
