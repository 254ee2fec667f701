// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// The least shift along one side that brings [start, start + length) inside
// [low, high); the low edge wins when it cannot fit.
int shift(int start, int length, int low, int high)
{
    if (start + length > high)
        return std::max(high - length, low) - start;
    if (start < low)
        return low - start;
    return 0;
}

} // namespace

namespace ScreenPlacement {

QRect fit(const QRect &client, const QMargins &frame, const QRect &available)
{
    const QRect whole = client.marginsAdded(frame);
    const int dx = shift(whole.x(), whole.width(), available.left(), available.right() + 1);
    const int dy = shift(whole.y(), whole.height(), available.top(), available.bottom() + 1);
    return client.translated(dx, dy);
}

void place(QWidget *window, const QRect &client)
{
    QScreen *screen = QGuiApplication::screenAt(client.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QMargins frame =
        window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    window->setGeometry(screen ? fit(client, frame, screen->availableGeometry()) : client);
}

} // namespace ScreenPlacement
