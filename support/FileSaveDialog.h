// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SaveDialog.h"

// The dialog as Qt (or the desktop's platform theme) shows it, starting in the
// user's home folder.
class FileSaveDialog : public SaveDialog
{
public:
    std::optional<QString> askPath(QWidget *owner, const QString &title,
                                   const QString &filter) override;
};
