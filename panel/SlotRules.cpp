// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlotRules.h"

#include "catalogue/CatalogueLetters.h"

namespace SlotRules {

QString captionOf(const TargetState &target)
{
    if (!target.fileName.isEmpty())
        return target.fileName;
    return FolderMark + target.entryName;
}

QString droppedCaption(const QString &path, bool saidFolder)
{
    const QString name = path == QLatin1String("/") ? path : path.section(QLatin1Char('/'), -1);
    return saidFolder ? FolderMark + name : name;
}

QString letterFolder(const QString &path, int tileIndex)
{
    return path + QLatin1Char('/') +
           CatalogueLetters::letterForCode(tileIndex + CatalogueLetters::TileIndexOffset);
}

namespace {

bool isEmptySlot(const QString &path, const QString &caption)
{
    return path.isEmpty() || path == Placeholder || caption.trimmed().isEmpty();
}

} // namespace

QString spokenDescription(const QString &path, const QString &caption)
{
    if (isEmptySlot(path, caption))
        return QStringLiteral("Перетащите сюда файл, папку или программу или вставьте "
                              "скопированный файл клавишами Ctrl+V");
    return caption.trimmed();
}

QString spokenName(const QString &path, const QString &caption)
{
    const QString name = caption.startsWith(FolderMark) ? caption.mid(1) : caption;
    if (isEmptySlot(path, caption))
        return QStringLiteral("Пустая кнопка");
    if (caption.startsWith(FolderMark))
        return QStringLiteral("Папка %1").arg(name);
    return name;
}

} // namespace SlotRules
