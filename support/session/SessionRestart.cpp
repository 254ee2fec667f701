// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionRestart.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace SessionRestart {

void leaveToAutostart()
{
#if QT_CONFIG(sessionmanager)
    // Said again at every save: the hint belongs to the save being made.
    const auto never = [](QSessionManager &manager) {
        manager.setRestartHint(QSessionManager::RestartNever);
    };
    QObject::connect(qGuiApp, &QGuiApplication::saveStateRequest, qGuiApp, never);
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, qGuiApp, never);
#endif
}

} // namespace SessionRestart
