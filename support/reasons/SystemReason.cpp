// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemReason.h"

#include "support/StoreMedium.h"

#include <cerrno>

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

class FailureCategory : public std::error_category
{
public:
    const char *name() const noexcept override { return "katalog-disk"; }
    std::string message(int failure) const override
    {
        return russianReason(std::error_code(failure, *this)).toStdString();
    }
};

const FailureCategory failures;

} // namespace

std::error_code make_error_code(DiskFailure failure)
{
    return {int(failure), failures};
}

std::error_code lastSystemError()
{
    return {errno, std::generic_category()};
}

QString russianReason(std::error_code reason)
{
    if (reason.category() == failures) {
        switch (DiskFailure(reason.value())) {
        case DiskFailure::NotPlainFile:
            return QStringLiteral("это не обычный файл, а канал, сокет или устройство");
        case DiskFailure::LargerThanStore:
            return QStringLiteral("файл больше %1 МиБ, а файл кнопок намного меньше")
                .arg(StoreMedium::LargestStore >> 20);
        case DiskFailure::NotAnswered:
            return QStringLiteral("панель закрывается, а диск ещё не ответил");
        }
    }
    return known(reason.value());
}
