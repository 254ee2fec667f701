// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayPlatform.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QString>

#include <algorithm>

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

QByteArray wholeScale()
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    const QByteArray userScale = qgetenv("QT_SCALE_FACTOR");
    bool number = false;
    const double factor = userScale.toDouble(&number);
    if (number && factor > 0)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(std::max(1, qRound(factor))));
    return userScale;
}

void keepUserScale(const QByteArray &userScale)
{
    // Qt read the factor as the application object was made.
    if (userScale.isNull())
        qunsetenv("QT_SCALE_FACTOR");
    else
        qputenv("QT_SCALE_FACTOR", userScale);
}

} // namespace DisplayPlatform
