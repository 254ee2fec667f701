// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Tells the user something they must know in a modal message box, and waits
// until they have read it.
class UserMessages
{
public:
    virtual ~UserMessages() = default;
    virtual void showWarning(const QString &title, const QString &text) = 0;
    // An information icon and one OK button; text may break lines with CR LF.
    virtual void showInformation(const QString &title, const QString &text) = 0;
};
