// SPDX-License-Identifier: GPL-3.0-or-later
#include "TargetWaits.h"

#include <algorithm>

TargetWaits::Settled TargetWaits::answered(const QString &path)
{
    Settled settled;
    for (auto it = m_drops.begin(); it != m_drops.end();) {
        if (it.value() == path) {
            settled.drops.append(it.key());
            it = m_drops.erase(it);
        } else {
            ++it;
        }
    }
    std::sort(settled.drops.begin(), settled.drops.end());
    if (const auto probe = m_waitingClicks.constFind(path); probe != m_waitingClicks.cend()) {
        settled.click = *probe;
        m_waitingClicks.erase(probe);
    }
    return settled;
}
