// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionBus.h"

#include <QPointer>
#include <QTimer>

#include <algorithm>

#include <gio/gio.h>

namespace {

constexpr int LongestRetryMilliseconds = 60000;

} // namespace

SessionBus::SessionBus(QObject *parent)
    : QObject(parent)
{
    // Asking for the bus without an address would start one.
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        connectToBus();
}

SessionBus::~SessionBus()
{
    if (m_bus) {
        g_signal_handlers_disconnect_by_data(m_bus, this);
        g_object_unref(m_bus);
    }
}

void SessionBus::connectToBus()
{
    if (m_asking)
        return;
    m_asking = true;
    // Asked without waiting: a bus that does not answer holds up nothing. The
    // answer comes through GLib's main loop, which Qt's runs.
    auto *self = new QPointer<SessionBus>(this);
    g_bus_get(
        G_BUS_TYPE_SESSION, nullptr,
        [](GObject *, GAsyncResult *result, gpointer data) {
            auto *self = static_cast<QPointer<SessionBus> *>(data);
            GDBusConnection *bus = g_bus_get_finish(result, nullptr);
            if (*self)
                (*self)->take(bus);
            else if (bus)
                g_object_unref(bus);
            delete self;
        },
        self);
}

void SessionBus::take(GDBusConnection *bus)
{
    m_asking = false;
    if (!bus || g_dbus_connection_is_closed(bus)) {
        if (bus)
            g_object_unref(bus);
        // No bus yet: ask again later, less and less often.
        QTimer::singleShot(m_retryMilliseconds, this, &SessionBus::connectToBus);
        m_retryMilliseconds = std::min(2 * m_retryMilliseconds, LongestRetryMilliseconds);
        return;
    }
    m_retryMilliseconds = 1000;
    g_dbus_connection_set_exit_on_close(bus, FALSE);
    m_bus = bus;
    g_signal_connect(bus, "closed",
                     G_CALLBACK(+[](GDBusConnection *, gboolean, GError *, gpointer self) {
                         static_cast<SessionBus *>(self)->lost();
                     }),
                     this);
}

void SessionBus::lost()
{
    // Let go of the closed connection, so that GLib makes a new one for
    // whoever needs the bus next, and make that one ours too.
    g_signal_handlers_disconnect_by_data(m_bus, this);
    g_object_unref(m_bus);
    m_bus = nullptr;
    QTimer::singleShot(m_retryMilliseconds, this, &SessionBus::connectToBus);
}
