// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/UserMessages.h"

class QWidget;

// Messages as modal message boxes.
class MessageBoxMessages : public UserMessages
{
public:
    // Boxes shown after this come up over the owner, transient for it, so
    // that a panel kept above other windows does not cover them.
    void setOwner(QWidget *owner) { m_owner = owner; }

    void showWarning(const QString &title, const QString &text) override;
    void showInformation(const QString &title, const QString &text) override;

private:
    QWidget *m_owner = nullptr;
};
