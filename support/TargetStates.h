// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TargetState.h"

#include <QObject>

// Answers the panel's questions about its targets without making it wait:
// every answer comes later, on the user-interface thread, as known().
class TargetStates : public QObject
{
    Q_OBJECT

public:
    // Asks what the disk holds at path. While a question on the same path is
    // outstanding, asking again adds nothing: its one answer serves both.
    virtual void lookUp(const QString &path) = 0;
    // From now on, a target of these that is deleted, renamed away, unmounted
    // or made again is answered unasked. Replaces the targets followed before.
    virtual void follow(const QStringList &paths) = 0;

Q_SIGNALS:
    void known(const TargetState &state);
};
