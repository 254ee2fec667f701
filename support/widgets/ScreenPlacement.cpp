// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <qpa/qplatformscreen.h>

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

int fittingScale(int userScale, const QSize &client, const QMargins &frame, const QRect &available)
{
    const auto fits = [&](int scale) {
        const QSize whole = (client * scale).grownBy(frame);
        return whole.width() <= available.width() && whole.height() <= available.height();
    };
    int scale = std::max(1, userScale);
    while (scale > 1 && !fits(scale))
        --scale;
    return scale;
}

QRect placeOn(const QList<Screen> &screens, const QRect &client, const QMargins &frame,
              const QRect &owner)
{
    if (screens.isEmpty())
        return client;
    const QPoint centre = owner.isValid() ? owner.center() : client.center();
    const auto holding = std::find_if(screens.cbegin(), screens.cend(),
                                      [&](const Screen &s) { return s.geometry.contains(centre); });
    const Screen &screen = holding != screens.cend() ? *holding : screens.first();
    const QPoint origin = owner.isValid() ? screen.geometry.topLeft() : QPoint();
    return fit(client.translated(origin), frame, screen.available);
}

namespace {

// The primary first, as placeOn takes them.
QList<Screen> desktopScreens()
{
    QList<Screen> screens;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const Screen area{screen->geometry(), screen->availableGeometry()};
        screen == QGuiApplication::primaryScreen() ? screens.prepend(area) : screens.append(area);
    }
    return screens;
}

QRect ownerPlace(const QWidget *window)
{
    const QWidget *owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    return owner ? owner->geometry() : QRect();
}

QScreen *screenHolding(const QPoint &point)
{
    QScreen *screen = QGuiApplication::screenAt(point);
    return screen ? screen : QGuiApplication::primaryScreen();
}

QMargins frameOf(const QWidget *window)
{
    return window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
}

void setPlace(QWidget *window, const QRect &placed)
{
    // A window not yet shown is on the primary screen until told.
    if (QScreen *screen = screenHolding(placed.center()); screen && screen != window->screen())
        window->setScreen(screen);
    window->setGeometry(placed);
}

void fitScreen(QScreen *screen, const QSize &client, const QMargins &frame)
{
    const int user = qRound(screen->devicePixelRatio());
    const int drawn = fittingScale(user, client, frame, screen->handle()->availableGeometry());
    if (drawn == user)
        return;
    // A screen's factor multiplies the user's QT_SCALE_FACTOR. Qt reads set
    // factors only once one of them differs from 1.
    const qreal global = QHighDpiScaling::factor(static_cast<const QScreen *>(nullptr));
    QHighDpiScaling::setScreenFactor(screen, 2 * drawn / global);
    QHighDpiScaling::setScreenFactor(screen, drawn / global);
}

} // namespace

void fitScreens(const QSize &client, const QMargins &frame)
{
    // Where the compositor scales windows, it knows best.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    for (QScreen *screen : QGuiApplication::screens())
        fitScreen(screen, client, frame);
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, qGuiApp,
                     [client, frame](QScreen *screen) { fitScreen(screen, client, frame); });
}

void place(QWidget *window, const QRect &client)
{
    setPlace(window, placeOn(desktopScreens(), client, frameOf(window), ownerPlace(window)));
}

void refit(QWidget *window, const QRect &client)
{
    setPlace(window, placeOn(desktopScreens(), client, frameOf(window)));
}

void followOwner(QWidget *window)
{
    const QRect owner = ownerPlace(window);
    if (!owner.isValid())
        return;
    const QScreen *to = screenHolding(owner.center());
    const QScreen *from = screenHolding(window->geometry().center());
    if (to && from && to != from)
        refit(window,
              window->geometry().translated(to->geometry().topLeft() - from->geometry().topLeft()));
}

void centreOnOwnersScreen(QWidget *dialog, QWidget *owner)
{
    const QWidget *panel = owner ? owner->window() : nullptr;
    while (panel && panel->parentWidget())
        panel = panel->parentWidget()->window();
    if (!panel)
        return;
    QScreen *screen = screenHolding(panel->geometry().center());
    if (!screen)
        return;
    dialog->setScreen(screen);
    dialog->adjustSize();
    // Not shown yet, the dialog has no frame: its owner's, drawn by the same
    // manager, stands for it, or a tall title bar would push it down.
    QRect area = dialog->geometry().marginsAdded(frameOf(panel));
    area.moveCenter(screen->availableGeometry().center());
    dialog->move(area.topLeft());
}

} // namespace ScreenPlacement
