// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drops/DroppedFiles.h"
#include "support/widgets/KeyButton.h"

#include <QColor>

// A slot: a square push button in graphical style. Its face is painted in its
// back colour with its picture in the middle; it shows no text (the slot's
// caption is its tooltip).
class SlotButton : public KeyButton
{
    Q_OBJECT

public:
    static constexpr int PictureSize = 32;

    SlotButton(int index, QWidget *parent);

    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor &colour);

    // A locked slot does not click, by mouse or key, and takes no drops, but
    // keeps the focus, its hover text and its menu: Qt's disabled state would
    // pass the focus on and swallow the pointer.
    bool isLocked() const { return m_locked; }
    void setLocked(bool locked);

    // Shows the slot's caption as its tooltip, in plain text however much it
    // looks like markup. spoken is what a screen reader says for the slot, description what it
    // says when asked for more.
    void setCaption(const QString &caption, const QString &spoken, const QString &description);

    // A null icon leaves the face bare; replacing the icon releases the old one.
    QIcon picture() const { return icon(); }
    void setPicture(const QIcon &picture) { setIcon(picture); }

Q_SIGNALS:
    // Another program's local files were dropped here, in the drop's order.
    void filesDropped(int index, const QList<DroppedFile> &files);
    // The window's eraser is being dragged over, or was dropped on, this slot.
    void eraserDraggedOver(int index, QObject *source);
    void eraserDropped(int index, QObject *source);
    // The pointer moved over this slot with these buttons held (1 left,
    // 2 right, 4 middle); a button was pressed on it.
    void mouseMoved(int index, int buttons);
    void mousePressed(int index, int button);
    // The keys that stand for a drop of the clipboard's files (Ctrl+V,
    // Shift+Insert) and for the eraser (Delete).
    void pasteKeyPressed(int index);
    void deleteKeyPressed(int index);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    // Accepts or refuses the same way on entering, moving and dropping.
    bool acceptDrag(QDropEvent *event);

    int m_index;
    QColor m_backColor;
    bool m_locked = false;
    // The local files of the drag now over this slot, read as it entered.
    QList<DroppedFile> m_dragFiles;
};
