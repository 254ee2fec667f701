// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelInstance.h"

#include "support/UserMessages.h"

#include <QThread>

PanelInstance::PanelInstance(const QString &folder, const QString &storePath,
                             int answerMilliseconds)
    : m_folder(folder)
    , m_storePath(storePath)
    , m_answerMilliseconds(answerMilliseconds)
    , m_lock(storePath)
    , m_channel(folder)
{}

std::optional<int> PanelInstance::claim(bool replace, UserMessages &messages, const QString &title)
{
    if (m_lock.acquire() == SingleInstance::Outcome::AlreadyRunning) {
        const bool answered = InstanceChannel::ask(
            m_folder, replace ? InstanceChannel::Request::Replace : InstanceChannel::Request::Raise,
            m_answerMilliseconds);
        if (answered && !replace)
            return 0;
        if (const std::optional<QString> other = m_lock.holdersName()) {
            messages.showWarning(title, QStringLiteral("Каталог из этой папки уже запущен другим "
                                                       "пользователем (%1): из одной папки может "
                                                       "работать только одна панель, иначе они "
                                                       "испортили бы общий файл кнопок «%2».")
                                            .arg(*other, m_storePath));
            return 1;
        }
        // A panel replaced, or one that does not answer because it is
        // closing, lets go of the folder as it ends.
        if (!waitForLock()) {
            messages.showWarning(title, QStringLiteral("Каталог уже запущен из этой папки, но не "
                                                       "отвечает.\nВторая копия закрывается, "
                                                       "чтобы не испортить файл кнопок «%1».")
                                            .arg(m_storePath));
            return 1;
        }
    }
    m_channel.listen();
    return std::nullopt;
}

// The panel that was asked to make way lets go of the folder as it ends.
bool PanelInstance::waitForLock()
{
    for (int waited = 0; waited < m_answerMilliseconds; waited += 50) {
        if (m_lock.acquire() != SingleInstance::Outcome::AlreadyRunning)
            return true;
        QThread::msleep(50);
    }
    return false;
}
