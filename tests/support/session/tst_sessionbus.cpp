// SPDX-License-Identifier: GPL-3.0-or-later
// A session bus that goes away and comes back, twice: GLib's connection to
// it, made again each time, never ends the program with the bus.
#include "support/session/SessionBus.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gio/gio.h>

class TestSessionBus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outlivesItsBus()
    {
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            QSKIP("no dbus-daemon here");
        QTemporaryDir dir;
        const QString address = "unix:path=" + dir.filePath("bus");
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        // The connection anything in the process gets, GLib's one shared.
        const auto keptFromEnding = [] {
            g_autoptr(GDBusConnection) bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
            return bus && !g_dbus_connection_is_closed(bus) &&
                   !g_dbus_connection_get_exit_on_close(bus);
        };
        std::unique_ptr<SessionBus> kept;
        for (int round = 0; round < 3; ++round) {
            QProcess daemon;
            daemon.start("dbus-daemon", {"--session", "--nofork", "--address=" + address});
            QVERIFY(daemon.waitForStarted());
            QTRY_VERIFY(QFile::exists(dir.filePath("bus")));
            if (!kept)
                kept = std::make_unique<SessionBus>();
            QTRY_VERIFY_WITH_TIMEOUT(keptFromEnding(), 5000);
            daemon.kill();
            daemon.waitForFinished();
            QFile::remove(dir.filePath("bus"));
        }
    }
};

QTEST_GUILESS_MAIN(TestSessionBus)
#include "tst_sessionbus.moc"
