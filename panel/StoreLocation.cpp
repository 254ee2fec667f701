// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreLocation.h"

#include <QCoreApplication>

QString programStorePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/knw.dll");
}
