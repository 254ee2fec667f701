// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyButton.h"

#include <QStyleOptionFocusRect>
#include <QStylePainter>

KeyButton::KeyButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void KeyButton::keyPressEvent(QKeyEvent *event)
{
    // Space is the button's own key.
    if (!m_heldKeys.clickOnEnter(this, event))
        QAbstractButton::keyPressEvent(event);
}

void KeyButton::keyReleaseEvent(QKeyEvent *event)
{
    m_heldKeys.released(event);
    QAbstractButton::keyReleaseEvent(event);
}

void KeyButton::drawFocus(QStylePainter &painter, const QRect &frame, const QColor &ground) const
{
    if (!hasFocus())
        return;
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = frame;
    focus.backgroundColor = ground;
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}
