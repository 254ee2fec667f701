// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "UserMessages.h"

// Messages as modal message boxes.
class MessageBoxMessages : public UserMessages
{
public:
    void showWarning(const QString &title, const QString &text) override;
    void showInformation(const QString &title, const QString &text) override;
};
