// SPDX-License-Identifier: GPL-3.0-or-later
#include "TargetWaits.h"

#include <algorithm>

std::optional<QString> TargetWaits::storeUnanswered(int slot, const QString &path)
{
    const auto it = m_drops.find(slot);
    if (it == m_drops.end() || it->path != path || it->stored)
        return std::nullopt;
    it->stored = true;
    return it->caption;
}

QList<int> TargetWaits::waitingDrops() const
{
    QList<int> slots;
    for (auto it = m_drops.cbegin(); it != m_drops.cend(); ++it) {
        if (!it->stored)
            slots.append(it.key());
    }
    return slots;
}

TargetWaits::Settled TargetWaits::answered(const QString &path)
{
    Settled settled;
    for (auto it = m_drops.begin(); it != m_drops.end();) {
        if (it->path == path) {
            (it->stored ? settled.storedDrops : settled.drops).append({it.key(), it->caption});
            it = m_drops.erase(it);
        } else {
            ++it;
        }
    }
    const auto bySlot = [](const Drop &a, const Drop &b) { return a.slot < b.slot; };
    std::sort(settled.drops.begin(), settled.drops.end(), bySlot);
    std::sort(settled.storedDrops.begin(), settled.storedDrops.end(), bySlot);
    if (const auto click = m_waitingClicks.constFind(path); click != m_waitingClicks.cend()) {
        settled.click = *click;
        m_waitingClicks.erase(click);
    }
    return settled;
}
