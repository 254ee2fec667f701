// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogueFolders.h"

#include "CatalogueLetters.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// One folder, exactly as named: no parents are made, and an existing entry of
// that name is a failure.
std::optional<CatalogueFolders::Failure> makeFolder(const QString &path)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return std::nullopt;
    return CatalogueFolders::Failure{path, QString::fromLocal8Bit(std::strerror(errno))};
}

} // namespace

namespace CatalogueFolders {

std::optional<Failure> create(const QString &path)
{
    if (auto failure = makeFolder(path))
        return failure;
    for (int code : CatalogueLetters::codes()) {
        if (auto failure =
                makeFolder(path + QLatin1Char('/') + CatalogueLetters::letterForCode(code)))
            return failure;
    }
    return std::nullopt;
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
