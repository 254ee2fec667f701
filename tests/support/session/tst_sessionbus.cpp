// SPDX-License-Identifier: GPL-3.0-or-later
// What ends a session's programs: a session bus that goes away and comes
// back, twice (GLib's connection to it, made again each time, never ends the
// program with the bus); the signals of a logout, a closed terminal and
// Ctrl+C, each told rather than ending it, and ending it again once the
// panel no longer listens.
#include "support/session/SessionBus.h"
#include "support/session/TerminationSignals.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <gio/gio.h>

class TestSessionBus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void terminationSignals_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGINT") << SIGINT;
    }

    void terminationSignals()
    {
        QFETCH(int, signal);
        {
            TerminationSignals signals;
            QSignalSpy received(&signals, &TerminationSignals::received);
            std::raise(signal); // unheard, it would end this test
            QTRY_COMPARE(received.size(), 1);
            std::raise(signal); // and told again once the first was told
            QTRY_COMPARE(received.size(), 2);
        }
        struct sigaction now = {};
        QCOMPARE(::sigaction(signal, nullptr, &now), 0);
        QVERIFY(now.sa_handler == SIG_DFL);
    }

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
