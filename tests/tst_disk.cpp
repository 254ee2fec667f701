// SPDX-License-Identifier: GPL-3.0-or-later
// The store on a real disk, under attack: a panel killed while saving, a disk
// that takes no more, a folder only the store may be written in, a second
// panel on the same store. What the panel hears of the disk changing, and
// questions that the disk does not answer.
#include "helpers/FakeDesktop.h"
#include "helpers/TestFiles.h"
#include "panel/SlotList.h"
#include "panel/StoreFile.h"
#include "panel/StoreResult.h"
#include "support/disk/DiskStore.h"
#include "support/disk/SystemReason.h"
#include "support/targets/DiskTargetStates.h"
#include "support/session/InstanceChannel.h"
#include "support/OffThreadWork.h"
#include "support/session/PanelInstance.h"
#include "support/disk/PathPoll.h"
#include "support/session/SingleInstance.h"
#include "support/disk/StoreWatch.h"
#include "support/targets/TargetLookup.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <future>
#include <memory>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// Entries past the slots that the panel must keep as they are: a long one and
// one of every byte but CR and LF.
const QStringList Extras = [] {
    QByteArray every;
    for (int b = 0; b < 256; ++b)
        every += b == '\r' || b == '\n' ? '\0' : char(b);
    return QStringList{QString(2000, QLatin1Char('x'))} + StoreFile::parse(every);
}();

// A store the panel could have written while churning: 25 slot entries of
// the churn's forms, then the extras unchanged.
bool isCompleteChurnStore(const QByteArray &bytes)
{
    static const QRegularExpression entry(QStringLiteral("^(1|/churn/\\d+|churn \\d+)$"));
    const QStringList entries = StoreFile::parse(bytes);
    if (!bytes.endsWith("\r\n") || entries.size() != 25 + Extras.size())
        return false;
    for (int i = 1; i < 25; ++i) {
        if (!entry.match(entries.at(i)).hasMatch())
            return false;
    }
    return entries.mid(25) == Extras && bytes == StoreFile::serialise(entries);
}

// File permissions do not hold for root, and CI runs as root: inside this
// scope the process acts as the user "nobody", as a user's panel would.
struct Unprivileged
{
    Unprivileged()
    {
        if (root && setegid(65534) == 0)
            (void)seteuid(65534);
    }
    ~Unprivileged()
    {
        if (root && seteuid(0) == 0)
            (void)setegid(0);
    }
    bool active() const { return geteuid() != 0; }
    const bool root = geteuid() == 0;
};

// Uses up the user's inotify watches while it lives, as a desktop full of
// programs that watch may; too slow where the limit is very high.
class NoWatchesLeft
{
public:
    NoWatchesLeft()
    {
        QFile limit("/proc/sys/fs/inotify/max_user_watches");
        if (!limit.open(QIODevice::ReadOnly) || limit.readAll().trimmed().toInt() > 200000)
            return;
        m_fd = inotify_init1(IN_CLOEXEC);
        for (int i = 0; m_fd >= 0; ++i) {
            const QByteArray folder = QFile::encodeName(m_folders.filePath(QString::number(i)));
            if (mkdir(folder.constData(), 0700) != 0)
                break;
            if (inotify_add_watch(m_fd, folder.constData(), IN_ATTRIB) < 0) {
                m_full = errno == ENOSPC;
                break;
            }
        }
    }
    ~NoWatchesLeft()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool full() const { return m_full; }

private:
    QTemporaryDir m_folders;
    int m_fd = -1;
    bool m_full = false;
};

// Anyone may read and enter the folder, nobody but root write to it.
bool makeReadOnly(const QString &folder, bool readOnly = true)
{
    return QFile::setPermissions(folder, QFileDevice::Permissions(readOnly ? 0x5555 : 0x7777));
}

} // namespace

class TestDisk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A fresh folder each time: a killed save leaves its temporary file.
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_path = m_folder->filePath(QStringLiteral("knw.dll"));
    }

    // A panel killed at random while it changes slots and saves as fast as it
    // can leaves a store it could have written, never a torn one, also where
    // only the store itself may be written.
    void killedMidSaveLeavesACompleteStore_data()
    {
        QTest::addColumn<bool>("inPlace");
        QTest::newRow("renamed into place") << false;
        QTest::newRow("written in place") << true;
    }

    void killedMidSaveLeavesACompleteStore()
    {
        QFETCH(bool, inPlace);
        QVERIFY(writeBytes(m_path, *StoreFile::serialise(QStringList(25, "1") + Extras)));
        QVERIFY(!inPlace || (QFile::setPermissions(m_path, QFileDevice::Permissions(0x666)) &&
                             makeReadOnly(m_folder->path())));
        int sawChange = 0;
        for (int run = 0; run < 120; ++run) {
            const pid_t churn = fork();
            if (churn == 0) {
                std::optional<Unprivileged> asUser;
                if (inPlace && !asUser.emplace().active())
                    _exit(2);
                DiskStore disk(m_path);
                SlotList list(disk);
                bool saved = list.LoadSlotList().ok();
                // Numbers of one width: a store never shrinks, so an in-place
                // save killed before its end cannot leave the old one's last
                // bytes, the one case the README allows.
                for (int change = 0; saved; ++change) {
                    const QString number =
                        QStringLiteral("%1").arg(change, 9, 10, QLatin1Char('0'));
                    list.ReplaceSlotEntries(change % 12 + 1, "/churn/" + number, "churn " + number);
                    saved = list.SaveAndReloadSlotList().ok();
                }
                _exit(1);
            }
            QVERIFY(churn > 0);
            QTest::qSleep(1 + QRandomGenerator::global()->bounded(25));
            QVERIFY(kill(churn, SIGKILL) == 0 && waitpid(churn, nullptr, 0) == churn);
            const QByteArray bytes = readBytes(m_path);
            QVERIFY2(isCompleteChurnStore(bytes), qPrintable(QString::number(run)));
            sawChange += bytes.contains("/churn/");
        }
        QVERIFY(makeReadOnly(m_folder->path(), false));
        QVERIFY(sawChange > 0); // the kills fell while saves were going on
    }

    void fullDiskKeepsTheStore()
    {
        const QByteArray old = *StoreFile::serialise(QStringList(25, "1") + Extras);
        QVERIFY(writeBytes(m_path, old));
        DiskStore disk(m_path);
        SlotList list(disk);
        QVERIFY(list.LoadSlotList().ok());
        list.ReplaceSlotEntries(4, QStringLiteral("/a"), QStringLiteral("a"));
        // Past the limit a write fails with EFBIG, as on a full disk, instead
        // of the process being stopped.
        rlimit unlimited{};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit full{64, unlimited.rlim_max};
        setrlimit(RLIMIT_FSIZE, &full);
        const StoreResult result = list.SaveAndReloadSlotList();
        setrlimit(RLIMIT_FSIZE, &unlimited);
        QCOMPARE(result.step(), StoreResult::Step::Write);
        const QString said = result.message().remove(m_path);
        QVERIFY2(!said.contains(QRegularExpression("[A-Za-z]")),
                 qPrintable(said.toUtf8().toPercentEncoding(" "))); // why, in Russian
        QCOMPARE(readBytes(m_path), old);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{"knw.dll"});
    }

    // A folder nobody may add files to, and a store nobody may write: left
    // alone. (Where the store itself is writable, the killed save writes it.)
    void readOnlyFolder()
    {
        const QByteArray old = StoreFile::defaultContent(25);
        QVERIFY(writeBytes(m_path, old));
        QVERIFY(QFile::setPermissions(m_path, QFileDevice::Permissions(0x444)));
        QVERIFY(makeReadOnly(m_folder->path()));
        DiskStore disk(m_path);
        std::error_code failure;
        {
            Unprivileged asUser;
            QVERIFY(asUser.active());
            failure = disk.replace("new\r\n");
        }
        QVERIFY(makeReadOnly(m_folder->path(), false));
        QVERIFY(failure);
        QCOMPARE(readBytes(m_path), old);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{"knw.dll"});
    }

    // Something there that is no store is reported in Russian, at once, never
    // taken as empty, read whole or waited on, and left as it is.
    void unreadableStoreIsReported_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a folder") << "folder" << "это папка";
        QTest::newRow("a pipe, which would wait for a writer") << "fifo" << "не обычный файл";
        QTest::newRow("a device that never ends, through a link") << "/dev/zero" << "не обычный файл";
        QTest::newRow("a file of 50 MB") << "large" << "больше 1 МиБ";
    }

    void unreadableStoreIsReported()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QByteArray local = QFile::encodeName(m_path);
        if (kind == "folder")
            QVERIFY(QDir().mkpath(m_path));
        else if (kind == "fifo")
            QCOMPARE(mkfifo(local.constData(), 0600), 0);
        else if (kind == "large")
            QVERIFY(QFile(m_path).open(QIODevice::WriteOnly) && QFile::resize(m_path, 50 << 20));
        else
            QVERIFY(QFile::link(kind, m_path));
        DiskStore disk(m_path);
        const StoreMedium::Contents read = disk.read();
        QVERIFY(disk.exists() && read.failure && read.bytes.isEmpty());
        const QString said =
            StoreResult::failure(StoreResult::Step::Read, "", read.failure).message();
        QVERIFY2(said.contains(reason), qPrintable(said));
        QCOMPARE(QFileInfo(m_path).size(),
                 kind == "large" ? qint64(50 << 20) : QFileInfo(m_path).size());
    }

    // A store shared through its group or an access list stays shared after
    // a save: through a link, the file it leads to; where the new file cannot
    // be given the group or owner, the store is written where it is.
    void keepsItsOwnerGroupModeAndAccessList_data()
    {
        QTest::addColumn<bool>("throughLink");
        QTest::addColumn<bool>("asUser");
        QTest::addColumn<bool>("withAcl");
        QTest::newRow("group and mode") << false << false << false;
        QTest::newRow("through a link: its target's") << true << false << false;
        QTest::newRow("an access list") << false << false << true;
        QTest::newRow("another's store, written by its group") << false << true << false;
    }

    void keepsItsOwnerGroupModeAndAccessList()
    {
        QFETCH(bool, throughLink);
        QFETCH(bool, asUser);
        QFETCH(bool, withAcl);
        if (geteuid() != 0)
            QSKIP("giving a file a group needs root");
        const QString target = throughLink ? m_folder->filePath("elsewhere.dll") : m_path;
        QVERIFY(writeBytes(target, StoreFile::defaultContent(25)));
        if (throughLink)
            QVERIFY(QFile::link(target, m_path));
        const QByteArray local = QFile::encodeName(target);
        QVERIFY(chown(local.constData(), 0, 65534) == 0 && chmod(local.constData(), 0660) == 0);
        QVERIFY(!withAcl || QProcess::execute("setfacl", {"-m", "u:65534:r", target}) == 0);
        QVERIFY(makeReadOnly(m_folder->path(), false));
        const auto ownership = [&] {
            struct stat info = {};
            char acl[256] = {};
            (void)stat(local.constData(), &info);
            const ssize_t size =
                getxattr(local.constData(), "system.posix_acl_access", acl, sizeof acl);
            return QStringList{QString::number(info.st_uid), QString::number(info.st_gid),
                               QString::number(info.st_mode, 8),
                               QByteArray(acl, std::max<ssize_t>(size, 0)).toHex()};
        };
        const QStringList before = ownership();
        DiskStore disk(m_path);
        std::error_code failure;
        {
            std::optional<Unprivileged> user;
            if (asUser)
                QVERIFY(user.emplace().active());
            failure = disk.replace(StoreFile::defaultContent(25) + "more\r\n");
        }
        QVERIFY2(!failure, qPrintable(russianReason(failure)));
        QVERIFY(readBytes(target).endsWith("more\r\n") &&
                QFileInfo(m_path).isSymLink() == throughLink);
        QCOMPARE(ownership(), before);
    }

    // A second start from the folder brings the running panel forward, or
    // takes its place once it has gone, or says why it cannot run.
    void secondStart_data()
    {
        QTest::addColumn<QString>("running"); // "answering", "silent" (no socket), or none
        QTest::addColumn<bool>("replace");
        QTest::addColumn<int>("status"); // -1: this start runs
        QTest::addColumn<QString>("heard");
        QTest::addColumn<QString>("said");
        // clang-format off
        QTest::newRow("none running: runs") << "" << false << -1 << "" << "";
        QTest::newRow("brought forward") << "answering" << false << 0 << "raise" << "";
        QTest::newRow("replaced: runs once it has gone") << "answering" << true << -1 << "replace" << "";
        QTest::newRow("silent: told") << "silent" << false << 1 << "" << "не отвечает";
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
        if (running == "answering") {
            first = std::make_unique<PanelInstance>(m_folder->path(), m_path);
            QCOMPARE(first->claim(false, firstMessages, "t"), std::nullopt);
            connect(&first->channel(), &InstanceChannel::raiseRequested, [&] { got = "raise"; });
            connect(&first->channel(), &InstanceChannel::replaceRequested, [&] {
                got = "replace";
                gone = true;
            });
        } else if (running == "silent") {
            QCOMPARE(silent.emplace(m_path).acquire(), SingleInstance::Outcome::Acquired);
        }
        // The second start waits, so it runs on a thread of its own.
        std::optional<int> ended;
        bool listens = false;
        std::unique_ptr<QThread> starting(QThread::create([&] {
            PanelInstance second(m_folder->path(), m_path, 300);
            ended = second.claim(replace, messages, "Каталог");
            listens = QFile::exists(second.channel().path());
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
        QCOMPARE(listens, status < 0);
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

    // The store changed by another program, and followed targets that go or
    // come back, are heard of by notification; the panel's own kind of save
    // is heard of too (the panel then finds nothing new).
    void hearsOfChanges_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("storeHeard");
        QTest::addColumn<int>("targetAnswered"); // -1: not answered, else whether it has an icon
        QTest::addColumn<bool>("watchesLeft");   // the user's inotify watches not used up
        // clang-format off
        QTest::newRow("store replaced by a rename") << "rename store" << true << -1 << true;
        QTest::newRow("store rewritten in place") << "rewrite store" << true << -1 << true;
        QTest::newRow("target deleted") << "delete target" << false << 0 << true;
        QTest::newRow("target made again") << "make target" << false << 1 << true;
        QTest::newRow("target renamed away") << "rename target" << false << 0 << true;
        QTest::newRow("its volume unmounted") << "unmount" << false << 0 << true;
        QTest::newRow("no watches left: store rewritten in place") << "rewrite store" << true << -1 << false;
        QTest::newRow("no watches left: target deleted") << "delete target" << false << 0 << false;
        // clang-format on
    }

    void hearsOfChanges()
    {
        QFETCH(QString, change);
        QFETCH(bool, storeHeard);
        QFETCH(int, targetAnswered);
        QFETCH(bool, watchesLeft);
        std::optional<NoWatchesLeft> full;
        if (!watchesLeft && !full.emplace().full())
            QSKIP("too many inotify watches to use up here");
        const int waited = watchesLeft ? 3000 : 3000 + PathPoll::PollMilliseconds;
        const QString folder = m_folder->filePath("Docs"), target = folder + "/t.txt";
        QVERIFY(QDir().mkpath(folder) && writeBytes(m_path, StoreFile::defaultContent(25)));
        if (change == "unmount" && mount("none", qPrintable(folder), "tmpfs", 0, nullptr) != 0)
            QSKIP("no tmpfs mount here");
        if (change != "make target")
            QVERIFY(writeBytes(target, "t"));
        StoreWatch store(m_path);
        DiskTargetStates targets([](const QString &path) { return lookUpTarget(path, u'А'); });
        QSignalSpy settled(&store, &StoreWatch::settled), known(&targets, &TargetStates::known);
        targets.follow({target});
        QTest::qWait(300); // the watches are set on their own thread

        if (change == "rename store")
            QVERIFY(writeBytes(m_path + ".new", "x\r\n") &&
                    ::rename(qPrintable(m_path + ".new"), qPrintable(m_path)) == 0);
        else if (change == "rewrite store")
            QVERIFY(writeBytes(m_path, "x\r\n"));
        else if (change == "delete target")
            QVERIFY(QFile::remove(target));
        else if (change == "make target")
            QVERIFY(writeBytes(target, "t"));
        else if (change == "rename target")
            QVERIFY(QFile::rename(target, folder + "/t2.txt"));
        else if (change == "unmount")
            QVERIFY(umount(qPrintable(folder)) == 0);

        QTRY_COMPARE_WITH_TIMEOUT(settled.size(), int(storeHeard), waited);
        if (targetAnswered >= 0) {
            // The last answer counts: a mount elsewhere may bring one before.
            const auto answered = [&] {
                const auto state =
                    known.isEmpty() ? TargetState() : known.last().at(0).value<TargetState>();
                return state.path == target && !state.iconNames.isEmpty() == bool(targetAnswered);
            };
            QTRY_VERIFY_WITH_TIMEOUT(answered(), waited);
        }
        QTest::qWait(StoreWatch::SettleMilliseconds + 300); // and nothing more comes
        QCOMPARE(settled.size(), int(storeHeard));
    }

    // Work that never ends (a question to a hung share) holds up no other
    // while threads are left, and is not started again while it is
    // outstanding; once done, it may be. Beyond the threads allowed, work
    // waits its turn.
    void unansweredQuestions()
    {
        auto slowAnswers = std::make_shared<QSemaphore>();
        auto slowAsked = std::make_shared<std::atomic<int>>(0);
        OffThreadWork work(2);
        QStringList done;
        const auto ask = [&](const QString &path) {
            work.start<QString>(
                path,
                [=] {
                    if (path.startsWith("/slow"))
                        ++*slowAsked, slowAnswers->acquire();
                    return path;
                },
                [&](const QString &answered) { done.append(answered); });
        };
        ask("/slow");
        ask("/fast");
        QTRY_COMPARE_WITH_TIMEOUT(done, QStringList{"/fast"}, 2000);
        ask("/slow");
        QTest::qWait(100);
        QCOMPARE(slowAsked->load(), 1);
        ask("/slow 2");
        ask("/after");
        QTest::qWait(100);
        QCOMPARE(done, QStringList{"/fast"}); // both threads hang: it waits
        slowAnswers->release();
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 3, 2000);
        QVERIFY(done.contains("/after"));
        slowAnswers->release();
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 4, 2000);
        ask("/slow");
        QTRY_COMPARE_WITH_TIMEOUT(slowAsked->load(), 3, 2000);
        slowAnswers->release();
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
        QTest::newRow("anything else refused") << QByteArray("quit\n") << 0 << QByteArray("refused\n") << "" << false;
        QTest::newRow("a request with more after it") << QByteArray("raise now\n") << 0 << QByteArray("refused\n") << "" << false;
        QTest::newRow("a long line without its end") << QByteArray(4096, 'r') << 0 << QByteArray("refused\n") << "" << false;
        QTest::newRow("nothing said: let go") << QByteArray("") << -1 << QByteArray() << "" << false;
        QTest::newRow("replace without a runtime folder") << QByteArray() << replace << QByteArray("ok\n") << "replace" << true;
        QTest::newRow("another program without a runtime folder") << QByteArray("quit\n") << 0 << QByteArray("refused\n") << "" << true;
        // clang-format on
    }

    void instanceRequests()
    {
        QFETCH(QByteArray, sent);
        QFETCH(int, request);
        QFETCH(QByteArray, reply);
        QFETCH(QString, heard);
        QFETCH(bool, noRuntimeFolder);
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", noRuntimeFolder ? "/nonexistent/runtime" : runtime);
        const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", runtime); });
        InstanceChannel running(m_folder->path());
        QVERIFY(InstanceChannel::socketPaths(m_folder->path()) !=
                InstanceChannel::socketPaths(m_folder->path() + "x"));
        if (!reply.isEmpty() || request < 0)
            QVERIFY(running.listen());
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
            QCOMPARE(answered.get(), !reply.isEmpty());
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

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestDisk)
#include "tst_disk.moc"
