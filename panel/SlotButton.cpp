// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlotButton.h"

#include "EraserPicture.h"
#include "drops/DroppedFiles.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

SlotButton::SlotButton(int index, QWidget *parent)
    : KeyButton(parent)
    , m_index(index)
{
    setIconSize(QSize(PictureSize, PictureSize));
    setAcceptDrops(true);
    setMouseTracking(true);
}

void SlotButton::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT mouseMoved(m_index, int(event->buttons()));
    KeyButton::mouseMoveEvent(event);
}

void SlotButton::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT mousePressed(m_index, int(event->button()));
    // Only the left button clicks; the right one opens the menu instead.
    if (event->button() == Qt::LeftButton)
        KeyButton::mousePressEvent(event);
}

void SlotButton::setLocked(bool locked)
{
    m_locked = locked;
    setDown(false);
    update();
}

bool SlotButton::event(QEvent *event)
{
    if (m_locked) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            Q_EMIT mousePressed(m_index, int(static_cast<QMouseEvent *>(event)->button()));
            return true;
        case QEvent::MouseButtonRelease:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            event->ignore();
            return true;
        default:
            break;
        }
    }
    return KeyButton::event(event);
}

void SlotButton::keyPressEvent(QKeyEvent *event)
{
    // Paste is Ctrl+V and Shift+Insert (and the Paste key) on this desktop.
    if (event->matches(QKeySequence::Paste)) {
        Q_EMIT pasteKeyPressed(m_index);
    } else if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        Q_EMIT deleteKeyPressed(m_index);
    } else {
        KeyButton::keyPressEvent(event);
    }
}

void SlotButton::setCaption(const QString &caption, const QString &spoken,
                            const QString &description)
{
    // Qt guesses rich text from the text itself; a file may well be named
    // "<b>x</b>.txt".
    setToolTip(
        Qt::mightBeRichText(caption)
            ? QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(caption.toHtmlEscaped())
            : caption);
    setAccessibleName(spoken);
    // Without one, screen readers read the tooltip: "1" on an empty slot.
    setAccessibleDescription(description);
}

void SlotButton::setBackColor(const QColor &colour)
{
    if (colour == m_backColor)
        return;
    m_backColor = colour;
    update();
}

void SlotButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    const QRect face = rect();
    p.fillRect(face, m_backColor);

    // A raised bevel, sunken while pressed: light on the lit edges, dark on
    // the shaded ones.
    const bool sunken = isDown();
    const QColor light = sunken ? QColor(0, 0, 0) : QColor(255, 255, 255);
    const QColor dark = sunken ? QColor(255, 255, 255) : QColor(0, 0, 0);
    const QColor shade(128, 128, 128);
    const int r = face.right();
    const int b = face.bottom();
    p.setPen(light);
    p.drawLine(0, 0, r - 1, 0);
    p.drawLine(0, 0, 0, b - 1);
    p.setPen(dark);
    p.drawLine(0, b, r, b);
    p.drawLine(r, 0, r, b);
    p.setPen(shade);
    if (sunken) {
        p.drawLine(1, 1, r - 2, 1);
        p.drawLine(1, 1, 1, b - 2);
    } else {
        p.drawLine(1, b - 1, r - 1, b - 1);
        p.drawLine(r - 1, 1, r - 1, b - 1);
    }

    if (!icon().isNull()) {
        const QIcon::Mode mode = isEnabled() && !m_locked ? QIcon::Normal : QIcon::Disabled;
        QRect target(QPoint(0, 0), iconSize());
        target.moveCenter(face.center() + (sunken ? QPoint(1, 1) : QPoint(0, 0)));
        icon().paint(&p, target, Qt::AlignCenter, mode);
    }

    drawFocus(p, face.adjusted(3, 3, -3, -3), m_backColor);
}

namespace {
// Only this window's own eraser: another program may offer the same type,
// but it never has a source here.
bool isEraserDrag(const QDropEvent *event)
{
    return qobject_cast<EraserPicture *>(event->source()) &&
           event->mimeData()->hasFormat(EraserPicture::MimeType);
}
} // namespace

bool SlotButton::acceptDrag(QDropEvent *event)
{
    if (isEraserDrag(event)) {
        event->setDropAction(Qt::MoveAction);
    } else if (!m_dragFiles.isEmpty()) {
        // Never a move: the file manager must not delete what was dropped.
        event->setDropAction(event->possibleActions() & Qt::LinkAction ? Qt::LinkAction
                                                                       : Qt::CopyAction);
    } else {
        event->ignore();
        return false;
    }
    event->accept();
    return true;
}

void SlotButton::dragEnterEvent(QDragEnterEvent *event)
{
    // Reading another program's data is a round trip to it: done once as the
    // drag enters, not on every move nor again at the drop.
    m_dragFiles = isEraserDrag(event) ? QList<DroppedFile>() : droppedFiles(event->mimeData());
    if (acceptDrag(event) && isEraserDrag(event))
        Q_EMIT eraserDraggedOver(m_index, event->source());
}

void SlotButton::dragMoveEvent(QDragMoveEvent *event)
{
    if (acceptDrag(event) && isEraserDrag(event))
        Q_EMIT eraserDraggedOver(m_index, event->source());
}

void SlotButton::dropEvent(QDropEvent *event)
{
    if (!acceptDrag(event))
        return;
    if (isEraserDrag(event))
        Q_EMIT eraserDropped(m_index, event->source());
    else
        Q_EMIT filesDropped(m_index, m_dragFiles);
}
