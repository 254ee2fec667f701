// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/TargetStates.h"

#include <QSet>

#include <memory>

class DiskGateway;
class TargetWatch;
struct EntryFacts;

// The targets as the disk has them, every question asked through the disk
// gateway: a target, the catalogue's first letter in it, and where its icon
// needs them its first bytes, its desktop entry and the picture that names.
// The followed targets are watched through the gateway too, a change
// answered as a new look-up.
class GatewayTargetStates : public TargetStates
{
public:
    // The gateway must outlive this.
    GatewayTargetStates(DiskGateway &gateway, QChar catalogueLetter);
    ~GatewayTargetStates() override;

    void lookUp(const QString &path) override;
    void follow(const QStringList &paths) override;

    // What a target's entry and its catalogue letter's say, without its icon.
    static TargetState stateOf(const EntryFacts &target, const EntryFacts &letter);

private:
    struct LookUp;
    void describeIcon(const std::shared_ptr<LookUp> &lookUp);
    void finish(const std::shared_ptr<LookUp> &lookUp);

    DiskGateway &m_gateway;
    QChar m_letter;
    TargetWatch *m_watch;
    QSet<QString> m_lookingUp;
};
