// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogueFolders.h"

#include "CatalogueLetters.h"

#include <QStringList>

#include "support/FolderMaker.h"
#include "support/reasons/SystemReason.h"

namespace CatalogueFolders {

std::optional<Failure> create(FolderMaker &folders, const QString &path)
{
    QStringList wanted{path};
    for (int code : CatalogueLetters::codes())
        wanted.append(path + QLatin1Char('/') + CatalogueLetters::letterForCode(code));
    for (const QString &folder : wanted) {
        if (const auto reason = folders.makeFolder(folder))
            return Failure{folder, reason};
    }
    return std::nullopt;
}

QString failureText(const Failure &failure, const QString &path)
{
    QString text = QStringLiteral("Не удалось создать папку «%1».\nПричина: %2")
                       .arg(failure.path, russianReason(failure.reason));
    if (failure.path != path)
        text += QStringLiteral("\nПапки, созданные до неё, остались на месте.");
    return text;
}

QString completionText(const QString &path)
{
    const QString lineEnd = QStringLiteral("\r\n");
    return QStringLiteral("Вами был создан каталог по адресу") + lineEnd + path + lineEnd +
           QStringLiteral("Теперь перетащите папку какталога на") + lineEnd +
           QStringLiteral("свободную кнопку программы. При клике") + lineEnd +
           QStringLiteral("вам откроется алфавитный ряд для быстрого доступа") + lineEnd +
           QStringLiteral("к подпапкам какталога.  ") + lineEnd;
}

} // namespace CatalogueFolders
