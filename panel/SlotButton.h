// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QColor>

// A slot: a square push button in graphical style. Its face is painted in its
// back colour with its picture in the middle; it shows no text (the slot's
// caption is its tooltip).
class SlotButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int PictureSize = 32;

    SlotButton(int index, QWidget *parent);

    int index() const { return m_index; }

    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor &colour);

    // A null icon leaves the face bare; replacing the icon releases the old one.
    QIcon picture() const { return icon(); }
    void setPicture(const QIcon &picture) { setIcon(picture); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_index;
    QColor m_backColor;
};
