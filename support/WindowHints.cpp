// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHints.h"

#include <QGuiApplication>
#include <QWidget>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

xcb_connection_t *x11Connection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    return QGuiApplication::platformName() == QLatin1String("xcb") ? connection : nullptr;
}

} // namespace

void keepAboveOwner(QWidget *window, QWidget *owner)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    // Qt says this only of dialogs and tool windows; the window manager then
    // keeps the window above its owner, even a panel kept above all others.
    const xcb_window_t ownerId = xcb_window_t(owner->winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()),
                        XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &ownerId);
    xcb_flush(connection);
}

std::optional<QPoint> clientPlaceOnScreen(QWidget *window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window->windowHandle())
        return std::nullopt;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_translate_coordinates_reply_t *reply = xcb_translate_coordinates_reply(
        connection,
        xcb_translate_coordinates(connection, xcb_window_t(window->winId()), root, 0, 0), nullptr);
    if (!reply)
        return std::nullopt;
    const QPoint place(reply->dst_x, reply->dst_y);
    free(reply);
    // The server counts in device pixels, Qt's geometry in its own.
    return place / window->devicePixelRatioF();
}

void bringToFront(QWidget *window)
{
    window->showNormal();
    window->raise();
    window->activateWindow();
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    // Qt asks as the application, with its own last input time, which a
    // window manager that guards the focus refuses; a pager's request is
    // granted.
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window->winId());
    message.type = atom(connection, "_NET_ACTIVE_WINDOW");
    message.data.data32[0] = 2; // a pager
    message.data.data32[1] = XCB_CURRENT_TIME;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
}

void hideTaskbarEntry(QWidget *window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    // An unmapped window states its wishes in its own _NET_WM_STATE; Qt keeps
    // the states it does not manage itself.
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, xcb_window_t(window->winId()), state,
                        XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    xcb_flush(connection);
}
