// SPDX-License-Identifier: GPL-3.0-or-later
#include "FixedWindow.h"

#include "images/Pictures.h"
#include "support/ScreenPlacement.h"

#include <QKeyEvent>
#include <QWidget>

void setUpFixedWindow(QWidget *window, const QString &title, const QRect &clientArea,
                      const QColor &background)
{
    window->setWindowTitle(title);
    window->setWindowIcon(Pictures::windowIcon());
    window->setFixedSize(clientArea.size());
    ScreenPlacement::place(window, clientArea);
    QPalette ground = window->palette();
    ground.setColor(QPalette::Window, background);
    window->setPalette(ground);
    window->setAutoFillBackground(true);
}

namespace {

// Escape pressed anywhere in the window, and not taken by a child, closes it.
class EscapeCloses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape &&
            static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
            static_cast<QWidget *>(parent())->close();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void closeOnEscape(QWidget *window)
{
    window->installEventFilter(new EscapeCloses(window));
}
