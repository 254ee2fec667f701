// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/disk/OffThreadWork.h"
#include "support/ShellOpener.h"

// Opens through another opener off the user-interface thread, since deciding
// what to launch asks the disk. A target whose open is still outstanding (its
// share has not answered) is not opened a second time.
class BackgroundOpener : public ShellOpener
{
public:
    // The opener must be safe to call on any thread; an open still running
    // when this one goes keeps it.
    explicit BackgroundOpener(std::shared_ptr<ShellOpener> opener);

    void open(const QString &target) override;

private:
    std::shared_ptr<ShellOpener> m_opener;
    OffThreadWork m_work{3};
};
