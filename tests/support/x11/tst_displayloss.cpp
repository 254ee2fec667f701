// SPDX-License-Identifier: GPL-3.0-or-later
// Once the X display has gone: what the compositor's socket and the display
// say decide between starting again and ending, with no display at all.
#include "support/x11/DisplayLoss.h"

#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

class TestDisplayLoss : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void afterTheDisplayWent_data()
    {
        QTest::addColumn<QString>("compositor"); // its socket; none in an X11 session
        QTest::addColumn<int>("backAfter");      // when the display answers; -1 never
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("waited");
        using Outcome = DisplayLoss::Outcome;
        const int longest = DisplayLoss::LongestWaitMilliseconds;
        // clang-format off
        QTest::newRow("XWayland started again: back as it answers") << "listening" << 1000 << int(Outcome::Back) << 1000;
        QTest::newRow("an X11 session: the end at once") << "" << 0 << int(Outcome::SessionOver) << 0;
        QTest::newRow("a compositor that died, its socket left: the end at once") << "left" << 0 << int(Outcome::SessionOver) << 0;
        QTest::newRow("a compositor gone with its socket: the end at once") << "removed" << 0 << int(Outcome::SessionOver) << 0;
        QTest::newRow("never back: the end after the longest wait") << "listening" << -1 << int(Outcome::NotBack) << longest;
        // clang-format on
    }

    void afterTheDisplayWent()
    {
        QFETCH(QString, compositor);
        QFETCH(int, backAfter);
        QFETCH(int, outcome);
        QFETCH(int, waited);
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qunsetenv("WAYLAND_DISPLAY");
        const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (!compositor.isEmpty()) {
            qputenv("WAYLAND_DISPLAY", "wayland-7");
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strcpy(address.sun_path, QFile::encodeName(runtime.filePath("wayland-7")));
            if (compositor != "removed")
                QCOMPARE(::bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
            if (compositor == "listening")
                QCOMPARE(::listen(socket, 128), 0);
        }
        int asked = 0;
        const DisplayLoss::Outcome after = DisplayLoss::awaitDisplay([&](int milliseconds) {
            asked += milliseconds;
            return backAfter >= 0 && asked >= backAfter;
        });
        ::close(socket);
        QCOMPARE(int(after), outcome);
        QCOMPARE(asked, waited);
    }
};

QTEST_GUILESS_MAIN(TestDisplayLoss)
#include "tst_displayloss.moc"
