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

QRect fit(const QRect &client, const QMargins &frame, const QRect &available)
{
    const QRect whole = client.marginsAdded(frame);
    const int dx = shift(whole.x(), whole.width(), available.left(), available.right() + 1);
    const int dy = shift(whole.y(), whole.height(), available.top(), available.bottom() + 1);
    return client.translated(dx, dy);
}

} // namespace

namespace ScreenPlacement {

QRect placeOn(const QList<Screen> &screens, const QRect &client, const QMargins &frame)
{
    if (screens.isEmpty())
        return client;
    const auto holding = std::find_if(screens.cbegin(), screens.cend(), [&](const Screen &s) {
        return s.geometry.contains(client.center());
    });
    return fit(client, frame, (holding != screens.cend() ? *holding : screens.first()).available);
}

void place(QWidget *window, const QRect &client)
{
    QList<Screen> screens;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const Screen area{screen->geometry(), screen->availableGeometry()};
        screen == QGuiApplication::primaryScreen() ? screens.prepend(area) : screens.append(area);
    }
    const QMargins frame =
        window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    window->setGeometry(placeOn(screens, client, frame));
}

} // namespace ScreenPlacement
