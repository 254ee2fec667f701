// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// Mouse events delivered as the window system delivers them, propagation to
// parent widgets included.
inline void sendMouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held = Qt::NoButton)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void moveOver(QWidget *widget, QPoint at = QPoint(5, 5))
{
    sendMouse(widget, QEvent::MouseMove, at, Qt::NoButton);
}

inline void press(QWidget *widget, Qt::MouseButton button, QPoint at = QPoint(5, 5))
{
    sendMouse(widget, QEvent::MouseButtonPress, at, button, button);
    sendMouse(widget, QEvent::MouseButtonRelease, at, button);
}
