// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installQtRussian()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    auto *russian = new QTranslator(QCoreApplication::instance());
    if (!russian->load(QStringLiteral("qtbase_ru"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete russian;
        return false;
    }
    return QCoreApplication::installTranslator(russian);
}
