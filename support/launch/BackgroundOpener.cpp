// SPDX-License-Identifier: GPL-3.0-or-later
#include "BackgroundOpener.h"

BackgroundOpener::BackgroundOpener(std::shared_ptr<ShellOpener> opener)
    : m_opener(std::move(opener))
{}

void BackgroundOpener::open(const QString &target)
{
    m_work.start<bool>(
        target,
        [opener = m_opener, target] {
            opener->open(target);
            return true;
        },
        [](bool) {});
}
