// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemReason.h"

#include <cerrno>
#include <cstring>

namespace {

QString known(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("нет такого файла или папки");
    case EACCES:
        return QStringLiteral("недостаточно прав");
    case EPERM:
        return QStringLiteral("действие не разрешено");
    case EROFS:
        return QStringLiteral("диск доступен только для чтения");
    case ENOSPC:
        return QStringLiteral("на диске не осталось места");
    case EDQUOT:
        return QStringLiteral("исчерпана дисковая квота");
    case EEXIST:
        return QStringLiteral("файл или папка с таким именем уже есть");
    case ENOTDIR:
        return QStringLiteral("часть пути — не папка");
    case EISDIR:
        return QStringLiteral("это папка, а не файл");
    case ENAMETOOLONG:
        return QStringLiteral("слишком длинное имя");
    case EIO:
        return QStringLiteral("ошибка чтения или записи на диске");
    case EFBIG:
        return QStringLiteral("файл слишком велик");
    default:
        return QStringLiteral("системная ошибка номер %1").arg(error);
    }
}

} // namespace

QString russianReason(const QString &systemText)
{
    // The longest message that the text holds: "No such device" is the
    // start of "No such device or address".
    int found = 0;
    qsizetype foundLength = 0;
    for (int error = 1; error < 134; ++error) {
        const QString message = QString::fromLocal8Bit(std::strerror(error));
        if (message.size() > foundLength && systemText.contains(message, Qt::CaseInsensitive)) {
            found = error;
            foundLength = message.size();
        }
    }
    if (found)
        return known(found);
    // Qt's word when the system gave none.
    if (systemText == QLatin1String("Unknown error"))
        return QStringLiteral("неизвестная ошибка");
    return systemText;
}
