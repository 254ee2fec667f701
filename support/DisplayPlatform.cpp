// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayPlatform.h"

#include <QByteArray>
#include <QString>

namespace DisplayPlatform {

bool preferXWayland()
{
    const bool wayland = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
                         qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    // sway floats a fixed-size window and keeps it above tiled ones, and its
    // XWayland loses the first click after another window: native there.
    const bool sway = qEnvironmentVariableIsSet("SWAYSOCK");
    if (wayland && !sway && qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        return true;
    }
    return false;
}

} // namespace DisplayPlatform
