// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <xcb/xcb.h>

// The X server behind Qt's windows, for what Qt does not ask of it.
namespace X11 {

// Null off X11 (Wayland, offscreen).
xcb_connection_t *connection();
xcb_window_t root(xcb_connection_t *connection);
// XCB_ATOM_NONE when the server will not name it.
xcb_atom_t atom(xcb_connection_t *connection, const char *name);

} // namespace X11
