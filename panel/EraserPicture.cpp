// SPDX-License-Identifier: GPL-3.0-or-later
#include "EraserPicture.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

EraserPicture::EraserPicture(QWidget *parent)
    : QLabel(parent)
{}

void EraserPicture::setDragIcon(const QPixmap &icon)
{
    m_dragIcon = icon;
    if (m_drag)
        showDragIcon(m_drag);
}

void EraserPicture::showDragIcon(QDrag *drag) const
{
    // A drag's cursor can change while it runs (its pixmap cannot). The icon
    // shows over any target, accepting or not.
    drag->setDragCursor(m_dragIcon, Qt::MoveAction);
    drag->setDragCursor(m_dragIcon, Qt::IgnoreAction);
}

void EraserPicture::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    auto *drag = new QDrag(this);
    auto *data = new QMimeData;
    data->setData(MimeType, QByteArray());
    drag->setMimeData(data);
    if (!m_dragIcon.isNull())
        showDragIcon(drag);
    m_drag = drag;
    drag->exec(Qt::MoveAction);
}
