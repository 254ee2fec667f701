// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreResult.h"

#include "support/reasons/SystemReason.h"

StoreResult StoreResult::failure(Step step, const QString &path, std::error_code reason)
{
    StoreResult result;
    result.m_step = step;
    result.m_path = path;
    result.m_reason = reason;
    return result;
}

StoreResult StoreResult::refusal(Step step, const QString &path, const QString &reason)
{
    StoreResult result;
    result.m_step = step;
    result.m_path = path;
    result.m_ownReason = reason;
    return result;
}

bool StoreResult::unanswered() const
{
    return m_reason == DiskFailure::NotAnswered;
}

QString StoreResult::reason() const
{
    return m_ownReason.isEmpty() ? russianReason(m_reason) : m_ownReason;
}

QString StoreResult::message() const
{
    const QString reason = this->reason();
    switch (m_step) {
    case Step::None:
        return {};
    case Step::Create:
        return QStringLiteral("Не удалось создать файл кнопок «%1».\nПричина: %2")
            .arg(m_path, reason);
    case Step::Read:
        return QStringLiteral("Не удалось прочитать файл кнопок «%1».\nПричина: %2\n"
                              "Файл не изменён, и пока он не прочитан, панель его не "
                              "перезаписывает. Исправьте файл: как только он изменится, "
                              "панель прочитает его заново.")
            .arg(m_path, reason);
    case Step::Write:
        return QStringLiteral("Не удалось сохранить файл кнопок «%1».\nПричина: %2\n"
                              "Файл остался прежним, кнопка не изменилась.")
            .arg(m_path, reason);
    case Step::ReadBack:
        return QStringLiteral("Файл кнопок «%1» сохранён, но не читается заново.\nПричина: %2")
            .arg(m_path, reason);
    case Step::Guard:
        return QStringLiteral("Кнопка не изменилась: файл кнопок «%1» не был прочитан при "
                              "запуске (%2), и панель его не перезаписывает, чтобы не потерять "
                              "его содержимое. Файл не изменён.\nИсправьте его: как только он "
                              "изменится, панель прочитает его заново (или удалите его, чтобы "
                              "начать с пустых кнопок). Больше это сообщение не появится.")
            .arg(m_path, reason);
    }
    return {};
}
