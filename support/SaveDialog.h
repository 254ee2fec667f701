// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class QWidget;

// Asks the user for the name of something new to save, in a modal dialog.
class SaveDialog
{
public:
    virtual ~SaveDialog() = default;
    // Opens with an empty name box and the one filter given; asks nothing more
    // for an existing name and adds no extension. Gives the full path as
    // typed, or nothing on cancel.
    virtual std::optional<QString> askPath(QWidget *owner, const QString &title,
                                           const QString &filter) = 0;
};
