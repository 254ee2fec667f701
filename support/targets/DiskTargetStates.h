// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/disk/OffThreadWork.h"
#include "support/TargetStates.h"

#include <functional>

class QThread;
class TargetWatch;

// The targets as the disk has them: each question answered on a thread of
// its own, at most one outstanding per path; the followed targets watched on
// a thread of their own, a change answered as a new look-up.
class DiskTargetStates : public TargetStates
{
public:
    using LookUp = std::function<TargetState(const QString &path)>;

    // lookUp answers one question; it may block for as long as the disk does.
    explicit DiskTargetStates(LookUp lookUp);
    ~DiskTargetStates() override;

    void lookUp(const QString &path) override;
    void follow(const QStringList &paths) override;

private:
    LookUp m_lookUp;
    OffThreadWork m_work{8};
    QThread *m_watchThread;
    TargetWatch *m_watch;
};
