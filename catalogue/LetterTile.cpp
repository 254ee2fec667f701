// SPDX-License-Identifier: GPL-3.0-or-later
#include "LetterTile.h"

#include <QStylePainter>

LetterTile::LetterTile(QChar letter, QWidget *parent)
    : KeyButton(parent)
{
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
    drawFocus(p, rect().adjusted(1, 1, -3, -3));
}
