// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Tells the user about something they must know, and waits until they have
// read it.
class UserMessages
{
public:
    virtual ~UserMessages() = default;
    virtual void showWarning(const QString &title, const QString &text) = 0;
};
