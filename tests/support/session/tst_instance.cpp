// SPDX-License-Identifier: GPL-3.0-or-later
// One panel a folder: the lock, the socket a second start asks through, and
// what a second start does.
#include "helpers/AsUser.h"
#include "helpers/FakeDesktop.h"
#include "helpers/StoreFolder.h"
#include "support/session/InstanceChannel.h"
#include "support/session/PanelInstance.h"
#include "support/session/SingleInstance.h"

#include <QDir>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <future>
#include <memory>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>

class TestInstance : public StoreFolder
{
    Q_OBJECT

private Q_SLOTS:
    void init() { freshFolder(); }

    // A second start from the folder brings the running panel forward, or
    // takes its place once it has gone, or says why it cannot run.
    void secondStart_data()
    {
        QTest::addColumn<QString>(
            "running"); // "answering", "silent" (no socket), "dead" (its socket left), or none
        QTest::addColumn<bool>("replace");
        QTest::addColumn<int>("status"); // -1: this start runs
        QTest::addColumn<QString>("heard");
        QTest::addColumn<QString>("said");
        // clang-format off
        QTest::newRow("none running: runs") << "" << false << -1 << "" << "";
        QTest::newRow("a dead panel's socket left: taken over") << "dead" << false << -1 << "" << "";
        QTest::newRow("brought forward") << "answering" << false << 0 << "raise" << "";
        QTest::newRow("replaced: runs once it has gone") << "answering" << true << -1 << "replace" << "";
        QTest::newRow("silent: told") << "silent" << false << 1 << "" << "не отвечает";
        QTest::newRow("closing: runs once it has gone") << "closing" << false << -1 << "" << "";
        QTest::newRow("silent, replacing: told") << "silent" << true << 1 << "" << "не отвечает";
        // clang-format on
    }

    void secondStart()
    {
        QFETCH(QString, running);
        QFETCH(bool, replace);
        QFETCH(int, status);
        QFETCH(QString, heard);
        QFETCH(QString, said);
        RecordingMessages messages, firstMessages;
        std::unique_ptr<PanelInstance> first;
        std::optional<SingleInstance> silent;
        QString got;
        bool gone = false;
        if (running == "answering" || running == "closing") {
            first = std::make_unique<PanelInstance>(m_folder->path(), m_path);
            QCOMPARE(first->claim(false, firstMessages, "t"), std::nullopt);
            if (running == "closing") { // no longer answering, gone a moment later
                first->channel().stopListening();
                QTimer::singleShot(100, [&] { first.reset(); });
            }
            connect(&first->channel(), &InstanceChannel::raiseRequested, [&] { got = "raise"; });
            connect(&first->channel(), &InstanceChannel::replaceRequested, [&] {
                got = "replace";
                gone = true;
            });
        } else if (running == "silent") {
            QCOMPARE(silent.emplace(m_path).acquire(), SingleInstance::Outcome::Acquired);
        } else if (running == "dead") { // bound, and never removed
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            qstrcpy(address.sun_path,
                    qPrintable(InstanceChannel::socketPaths(m_folder->path())[0]));
            const int left = socket(AF_UNIX, SOCK_STREAM, 0);
            QVERIFY(bind(left, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
            ::close(left);
        }
        // The second start waits, so it runs on a thread of its own.
        std::optional<int> ended;
        QString listensAt;
        std::unique_ptr<QThread> starting(QThread::create([&] {
            PanelInstance second(m_folder->path(), m_path, 300);
            ended = second.claim(replace, messages, "Каталог");
            if (QFile::exists(second.channel().path()))
                listensAt = second.channel().path();
        }));
        starting->start();
        while (!starting->isFinished()) {
            QTest::qWait(10);
            if (gone)
                first.reset();
        }
        QCOMPARE(ended.value_or(-1), status);
        QCOMPARE(got, heard);
        QCOMPARE(messages.texts.size(), int(!said.isEmpty()));
        QVERIFY(messages.texts.join("").contains(said));
        // Where a later start asks first.
        QCOMPARE(listensAt,
                 status < 0 ? InstanceChannel::socketPaths(m_folder->path())[0] : QString());
    }

    // One panel a folder, even a shared install's read-only one, with nothing
    // beside the store for a user to delete.
    void onePanelPerFolder()
    {
        QVERIFY(makeReadOnly(m_folder->path()));
        auto first = std::make_unique<SingleInstance>(m_path);
        SingleInstance::Outcome outcome;
        {
            Unprivileged asUser;
            QVERIFY(asUser.active());
            outcome = first->acquire();
        }
        QCOMPARE(outcome, SingleInstance::Outcome::Acquired);
        QVERIFY(
            QDir(m_folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
        QCOMPARE(SingleInstance(m_path).acquire(), SingleInstance::Outcome::AlreadyRunning);
        QVERIFY(makeReadOnly(m_folder->path(), false));

        // A program the panel started outlives it without holding its lock.
        QProcess launched;
        launched.start(QStringLiteral("sleep"), {QStringLiteral("5")});
        QVERIFY(launched.waitForStarted());
        first.reset();
        auto mine = std::make_unique<SingleInstance>(m_path);
        QCOMPARE(mine->acquire(), SingleInstance::Outcome::Acquired);
        launched.kill();
        launched.waitForFinished();

        // Another user's panel on a shared folder is named, one's own is not.
        SingleInstance again(m_path);
        QCOMPARE(again.acquire(), SingleInstance::Outcome::AlreadyRunning);
        // Tried again and again (a second start waits so), it holds one descriptor.
        const uint descriptors = QDir("/proc/self/fd").count();
        for (int i = 0; i < 20; ++i)
            QCOMPARE(again.acquire(), SingleInstance::Outcome::AlreadyRunning);
        QCOMPARE(QDir("/proc/self/fd").count(), descriptors);
        QCOMPARE(again.holdersName(), std::nullopt);
        mine.reset();
        if (geteuid() != 0)
            return;
        int locked[2];
        QVERIFY(pipe(locked) == 0);
        const QByteArray folder = QFile::encodeName(m_folder->path());
        const pid_t other = fork();
        if (other == 0) {
            const int fd = open(folder.constData(), O_RDONLY | O_DIRECTORY);
            if (setgid(65534) == 0 && setuid(65534) == 0 && flock(fd, LOCK_EX) == 0)
                (void)!write(locked[1], "l", 1);
            pause();
            _exit(0);
        }
        char byte = 0;
        QVERIFY(read(locked[0], &byte, 1) == 1);
        SingleInstance second(m_path);
        QCOMPARE(second.acquire(), SingleInstance::Outcome::AlreadyRunning);
        QCOMPARE(second.holdersName(), QString("nobody"));
        kill(other, SIGKILL);
        waitpid(other, nullptr, 0);
        close(locked[0]);
        close(locked[1]);
    }

    // A second start's requests to the panel running from the same folder:
    // the two it knows, nothing else; a panel that cannot answer is not
    // taken as one that said yes.
    void instanceRequests_data()
    {
        QTest::addColumn<QByteArray>("sent"); // empty: asked as a second start
        QTest::addColumn<int>("request");     // with it
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("heard");
        QTest::addColumn<bool>("noRuntimeFolder"); // $XDG_RUNTIME_DIR names nothing there
        const int raise = int(InstanceChannel::Request::Raise),
                  replace = int(InstanceChannel::Request::Replace);
        // clang-format off
        QTest::newRow("raise") << QByteArray() << raise << QByteArray("ok\n") << "raise" << false;
        QTest::newRow("replace") << QByteArray() << replace << QByteArray("ok\n") << "replace" << false;
        QTest::newRow("no panel running: no") << QByteArray() << raise << QByteArray() << "" << false;
        QTest::newRow("another program there refuses: no") << QByteArray() << replace << QByteArray("refused\n") << "" << false;
        QTest::newRow("anything else refused") << QByteArray("quit\n") << 0 << QByteArray("refused\n") << "" << false;
        QTest::newRow("a request with more after it") << QByteArray("raise now\n") << 0 << QByteArray("refused\n") << "" << false;
        QTest::newRow("a long line without its end") << QByteArray(4096, 'r') << 0 << QByteArray("refused\n") << "" << false;
        QTest::newRow("nothing said: let go") << QByteArray("") << -1 << QByteArray() << "" << false;
        QTest::newRow("replace without a runtime folder") << QByteArray() << replace << QByteArray("ok\n") << "replace" << true;
        // clang-format on
    }

    void instanceRequests()
    {
        QFETCH(QByteArray, sent);
        QFETCH(int, request);
        QFETCH(QByteArray, reply);
        QFETCH(QString, heard);
        QFETCH(bool, noRuntimeFolder);
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), temporary = qgetenv("TMPDIR");
        qputenv("XDG_RUNTIME_DIR", noRuntimeFolder ? "/nonexistent/runtime" : runtime);
        // A temporary folder of its own, where no earlier run made the private one.
        const QTemporaryDir fresh;
        qputenv("TMPDIR", QFile::encodeName(fresh.path()));
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_RUNTIME_DIR", runtime);
            temporary.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temporary);
        });
        InstanceChannel running(m_folder->path());
        QVERIFY(InstanceChannel::socketPaths(m_folder->path()) !=
                InstanceChannel::socketPaths(m_folder->path() + "x"));
        // Another program where the panel would listen: it hears the request out, refuses.
        std::unique_ptr<QSocketNotifier> refusing;
        if (sent.isNull() && reply == "refused\n") {
            const QString path = InstanceChannel::socketPaths(m_folder->path()).constFirst();
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            qstrcpy(address.sun_path, qPrintable(path));
            const int listening = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            QVERIFY(bind(listening, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
                    ::listen(listening, 1) == 0);
            refusing = std::make_unique<QSocketNotifier>(listening, QSocketNotifier::Read);
            connect(refusing.get(), &QSocketNotifier::activated, [listening] {
                const int caller = accept(listening, nullptr, nullptr);
                char bytes[64];
                (void)recv(caller, bytes, sizeof bytes, 0);
                (void)send(caller, "refused\n", 8, MSG_NOSIGNAL);
                close(caller);
            });
            connect(refusing.get(), &QObject::destroyed, [listening, address] {
                close(listening);
                unlink(address.sun_path);
            });
        } else if (!reply.isEmpty() || request < 0) {
            QVERIFY(running.listen());
        }
        QStringList got;
        connect(&running, &InstanceChannel::raiseRequested, [&] { got.append("raise"); });
        connect(&running, &InstanceChannel::replaceRequested, [&] { got.append("replace"); });
        if (sent.isNull()) { // the second start waits, so it asks from a thread of its own
            auto answered = std::async(std::launch::async, [this, request] {
                return InstanceChannel::ask(m_folder->path(), InstanceChannel::Request(request),
                                            1000);
            });
            while (answered.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
                QTest::qWait(10);
            QCOMPARE(answered.get(), reply == "ok\n");
        } else {
            // Another program, speaking to the socket as it likes.
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            qstrcpy(address.sun_path, qPrintable(running.path()));
            const int other = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
            QVERIFY(::connect(other, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
            QCOMPARE(send(other, sent.constData(), size_t(sent.size()), MSG_NOSIGNAL), sent.size());
            QByteArray got;
            QTRY_VERIFY_WITH_TIMEOUT(
                [&] {
                    char bytes[64];
                    const ssize_t n = recv(other, bytes, sizeof bytes, 0);
                    got.append(bytes, std::max<ssize_t>(n, 0));
                    return n == 0; // the panel hung up
                }(),
                3000);
            ::close(other);
            QCOMPARE(got, reply);
        }
        QCOMPARE(got, heard.isEmpty() ? QStringList() : QStringList{heard});
    }
};

QTEST_GUILESS_MAIN(TestInstance)
#include "tst_instance.moc"
