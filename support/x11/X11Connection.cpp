// SPDX-License-Identifier: GPL-3.0-or-later
#include "internal/X11Connection.h"

#include <QGuiApplication>
#include <qguiapplication_platform.h>

#include <cstdlib>

#include <xcb/xcb.h>

namespace X11 {

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    return QGuiApplication::platformName() == QLatin1String("xcb") ? connection : nullptr;
}

quint32 root(xcb_connection_t *connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

quint32 atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

} // namespace X11
