// SPDX-License-Identifier: GPL-3.0-or-later
#include "FixedWindow.h"

#include "images/Pictures.h"
#include "support/ScreenPlacement.h"

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
