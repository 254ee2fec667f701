// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/widgets/KeyButton.h"

#include <QPixmap>

// One letter of the letter row: a borderless picture that is clicked like a
// button, with the mouse or, once it has the focus, with Space or Enter.
// Screen readers see a button named by its letter.
class LetterTile : public KeyButton
{
    Q_OBJECT

public:
    LetterTile(QChar letter, QWidget *parent);

    QPixmap picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};
