// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/SaveDialog.h"

// Qt's own dialog, in Russian in every session, centred on the panel's
// screen, starting in the user's home folder. It belongs to the first shown
// window of its owner's: no task-list entry of its own.
class FileSaveDialog : public SaveDialog
{
public:
    std::optional<QString> askPath(QWidget *owner, const QString &title,
                                   const QString &filter) override;
};
