// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <memory>

class SessionBus;

// What the panel's process sets up around its application object. Made
// first in main: the display platform and a whole scale. Once the application exists,
// applicationMade(): the platform and scale the user set given back to
// launched programs,
// the icon theme's fallback, Qt's own windows in Russian, the Windows font
// names, the session's restart left to the autostart entry, a session bus
// that may come and go, and "/" as the working folder.
class ProcessSetUp
{
public:
    ProcessSetUp();
    ~ProcessSetUp();

    void applicationMade();

private:
    QByteArray m_userPlatform;
    QByteArray m_userScale;
    std::unique_ptr<SessionBus> m_bus;
};
