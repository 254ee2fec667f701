// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayPlatform.h"

#include <QByteArray>
#include <QString>

namespace DisplayPlatform {

bool preferXWayland()
{
    const bool wayland = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
                         qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    if (wayland && qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        return true;
    }
    return false;
}

} // namespace DisplayPlatform
