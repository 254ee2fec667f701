// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

typedef struct _GDBusConnection GDBusConnection;

// GLib ends a program whose session bus goes away (it sends the program
// SIGTERM): a restarted bus would take the panel with it. While this lives,
// the bus connection does not end the program; once the bus goes, GLib's
// next connection is made the same way as soon as a bus answers again.
// Without a session bus it does nothing, and starts none.
class SessionBus : public QObject
{
public:
    explicit SessionBus(QObject *parent = nullptr);
    ~SessionBus() override;

private:
    void connectToBus();
    void take(GDBusConnection *bus);
    void lost();

    GDBusConnection *m_bus = nullptr;
    int m_retryMilliseconds = 1000;
    bool m_asking = false;
};
