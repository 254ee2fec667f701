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
    // Space is the button's own key; Enter opens the letter too, once
    // however long it is held.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!m_heldKeys.repeats(event))
            click();
    } else
        QAbstractButton::keyPressEvent(event);
}

void LetterTile::keyReleaseEvent(QKeyEvent *event)
{
    m_heldKeys.released(event);
    QAbstractButton::keyReleaseEvent(event);
}
