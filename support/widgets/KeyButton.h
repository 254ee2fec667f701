// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HeldKeys.h"

#include <QAbstractButton>
#include <QColor>

class QStylePainter;

// A button the keyboard works as well as the mouse: it takes the focus by
// Tab and by a click, Space and Enter (on the main keys or the keypad) click
// it once however long they are held, and it draws the style's focus frame.
class KeyButton : public QAbstractButton
{
public:
    explicit KeyButton(QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    // The focus frame at frame, over ground, while the button has the focus.
    void drawFocus(QStylePainter &painter, const QRect &frame, const QColor &ground = {}) const;

private:
    HeldKeys m_heldKeys;
};
