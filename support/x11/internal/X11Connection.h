// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// Seen only by support/x11's own sources, which include xcb's headers
// themselves: the build's include roots take the folder's headers, not this
// folder's.
struct xcb_connection_t;

// The X server behind Qt's windows, for what Qt does not ask of it. Windows
// and atoms are the server's 32-bit ids.
namespace X11 {

// Null off X11 (Wayland, offscreen).
xcb_connection_t *connection();
quint32 root(xcb_connection_t *connection);
// XCB_ATOM_NONE when the server will not name it.
quint32 atom(xcb_connection_t *connection, const char *name);

} // namespace X11
