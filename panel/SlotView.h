// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

// What the slot board shows: the panel's widgets, or a test's record of them.
class SlotView
{
public:
    virtual ~SlotView() = default;

    // Slot k's caption, with what a screen reader says for it and when asked
    // for more.
    virtual void showCaption(int slot, const QString &caption, const QString &spokenName,
                             const QString &spokenDescription) = 0;
    // A null icon leaves the slot bare.
    virtual void showPicture(int slot, const QIcon &picture) = 0;
    // The picture of a slot the eraser has just cleared.
    virtual void showErasedPicture(int slot) = 0;
    // Every slot plain but this one, marked; 0 marks none.
    virtual void markSlot(int slot) = 0;
    virtual void showLetterRow(bool shown) = 0;
    virtual void showHoverText(const QString &text) = 0;
    // Whether the slots take drops as they come.
    virtual void takeDrops(bool taken) = 0;
    // The window's title, which the panel's messages carry too.
    virtual QString title() const = 0;
};
