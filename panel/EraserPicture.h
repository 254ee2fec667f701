// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QPointer>

class QDrag;

// The eraser: a picture that starts a drag of itself inside the window as
// soon as the left button is pressed on it. Its drag icon can be set at any
// time; a running drag shows it at once, later drags keep it.
class EraserPicture : public QLabel
{
    Q_OBJECT

public:
    // What the eraser's drag carries, and how a slot knows it.
    static inline const QString MimeType = QStringLiteral("application/x-katalog-eraser");

    explicit EraserPicture(QWidget *parent);

    QPixmap dragIcon() const { return m_dragIcon; }
    void setDragIcon(const QPixmap &icon);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void showDragIcon(QDrag *drag) const;

    QPixmap m_dragIcon;
    QPointer<QDrag> m_drag;
};
