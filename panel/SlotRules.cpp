// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlotRules.h"

#include "catalogue/CatalogueLetters.h"
#include "support/FolderExists.h"

namespace SlotRules {

QString captionOf(const QString &path)
{
    const QString fileName = findEntryName(path, false);
    if (!fileName.isEmpty())
        return fileName;
    return FolderMark + findEntryName(path, true);
}

bool isCatalogue(const QString &caption, const QString &path)
{
    // The parts are joined as they are, as the probe always was.
    return caption.startsWith(FolderMark) &&
           FolderExists(path + QLatin1Char('/') +
                        CatalogueLetters::letterForCode(CatalogueLetters::FirstCode));
}

QString letterFolder(const QString &path, int tileIndex)
{
    return path + QLatin1Char('/') +
           CatalogueLetters::letterForCode(tileIndex + CatalogueLetters::TileIndexOffset);
}

QString spokenName(const QString &path, const QString &caption)
{
    const QString name = caption.startsWith(FolderMark) ? caption.mid(1) : caption;
    if (path.isEmpty() || path == Placeholder || name.trimmed().isEmpty())
        return QStringLiteral("Пустая кнопка");
    if (caption.startsWith(FolderMark))
        return QStringLiteral("Папка %1").arg(name);
    return name;
}

} // namespace SlotRules
