// SPDX-License-Identifier: GPL-3.0-or-later
// The floor the panel is measured against: the least a Qt 6 window of the
// same shape costs. 81 x 523 at the panel's place, above other windows, a
// text box and twelve buttons with a theme icon each, and nothing else.
#include <QApplication>
#include <QIcon>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QIcon::setThemeName(QStringLiteral("Adwaita"));
    QWidget window(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(QStringLiteral("floor"));
    window.setGeometry(683, 127, 81, 523);
    window.setFixedSize(81, 523);
    auto *text = new QPlainTextEdit(&window);
    text->setGeometry(0, -2, 77, 43);
    for (int k = 0; k < 12; ++k) {
        auto *button = new QPushButton(&window);
        button->setGeometry(8, 44 + 38 * k, 37, 37);
        button->setIcon(QIcon::fromTheme(QStringLiteral("folder")));
        button->setIconSize(QSize(32, 32));
    }
    window.show();
    return app.exec();
}
