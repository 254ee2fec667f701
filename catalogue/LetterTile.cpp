// SPDX-License-Identifier: GPL-3.0-or-later
#include "LetterTile.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

LetterTile::LetterTile(QChar letter, QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QString(letter));
}

void LetterTile::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void LetterTile::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    p.drawPixmap(0, 0, m_picture);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -3, -3);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void LetterTile::keyPressEvent(QKeyEvent *event)
{
    // Space is the button's own key.
    if (!m_heldKeys.clickOnEnter(this, event))
        QAbstractButton::keyPressEvent(event);
}

void LetterTile::keyReleaseEvent(QKeyEvent *event)
{
    m_heldKeys.released(event);
    QAbstractButton::keyReleaseEvent(event);
}
