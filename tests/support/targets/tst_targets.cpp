// SPDX-License-Identifier: GPL-3.0-or-later
// What the panel hears of the disk changing (the store, the targets, a
// volume), and questions that the disk does not answer.
#include "helpers/NoWatches.h"
#include "helpers/StoreFolder.h"
#include "helpers/TestFiles.h"
#include "store/StoreFile.h"
#include "support/disk/PathPoll.h"
#include "support/disk/StoreWatch.h"
#include "support/gateway/DiskGateway.h"
#include "support/targets/GatewayTargetStates.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Rewrites a second store, beside the watched one and watched the same way,
// and waits until that is heard: whatever the watched store's own change
// would still bring comes before.
void hearSecondStore()
{
    QTemporaryDir beside;
    const QString path = beside.filePath(QStringLiteral("knw.dll"));
    QVERIFY(writeBytes(path, "1\r\n"));
    StoreWatch second(path);
    QSignalSpy settled(&second, &StoreWatch::settled);
    QVERIFY(writeBytes(path, "2\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(settled.size(), 1, 3000 + PathPoll::PollMilliseconds);
}

// The kernel still gives the user a file watch.
bool someWatchesLeft(const QString &folder)
{
    const int watches = inotify_init1(IN_CLOEXEC);
    const bool left =
        watches >= 0 &&
        (inotify_add_watch(watches, QFile::encodeName(folder).constData(), IN_ATTRIB) >= 0 ||
         errno != ENOSPC);
    if (watches >= 0)
        close(watches);
    return left;
}

} // namespace

class TestTargets : public StoreFolder
{
    Q_OBJECT

private Q_SLOTS:
    void init() { freshFolder(); }

    // The store changed by another program, and followed targets that go or
    // come back, are heard of by notification; the panel's own kind of save
    // is heard of too (the panel then finds nothing new).
    void hearsOfChanges_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("storeHeard");
        QTest::addColumn<int>("targetAnswered"); // -1: not answered, else whether it has an icon
        QTest::addColumn<bool>("watchesLeft");   // the user's file watches not used up
        // clang-format off
        QTest::newRow("store replaced by a rename") << "rename store" << true << -1 << true;
        QTest::newRow("target made again") << "make target" << false << 1 << true;
        QTest::newRow("target renamed away") << "rename target" << false << 0 << true;
        QTest::newRow("its volume unmounted") << "unmount" << false << 0 << true;
        QTest::newRow("a volume mounted over its folder") << "mount" << false << 0 << true;
        QTest::newRow("its folder deleted, then made again with it") << "remake folder" << false << 1 << true;
        QTest::newRow("store made where there was none") << "make store" << true << -1 << true;
        QTest::newRow("store rewritten five times at once: heard once") << "rewrite store 5" << true << -1 << true;
        QTest::newRow("its helper stopped while asked: watched by the next one") << "delete target, helper stopped" << false << 0 << true;
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
        noWatchesLeft = !watchesLeft;
        const auto watchesBack = qScopeGuard([] { noWatchesLeft = false; });
        const int waited = watchesLeft ? 3000 : 3000 + PathPoll::PollMilliseconds;
        if (watchesLeft && !someWatchesLeft(m_folder->path()))
            QSKIP("other programs have used up the user's file watches");
        // With watches left, nothing is looked at in turn: a path that is gone
        // is not watched, its nearest folder is.
        if (watchesLeft)
            QTest::failOnWarning(QRegularExpression("no more file watches"));
        else if (change == "rewrite store") // said once, by the first path refused
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("looked for every 2 s instead$"));
        // Below a folder of its own: the store hears of changes beside it.
        const QString folder = m_folder->filePath("Docs/In"), target = folder + "/t.txt";
        QVERIFY(QDir().mkpath(folder));
        if (change != "make store")
            QVERIFY(writeBytes(m_path, StoreFile::defaultContent(25)));
        if (change == "unmount" && mount("none", qPrintable(folder), "tmpfs", 0, nullptr) != 0)
            QSKIP("no tmpfs mount here");
        if (change != "make target")
            QVERIFY(writeBytes(target, "t"));
        StoreWatch store(m_path);
        DiskGateway gateway(watchesLeft ? KATALOG_PROBE : KATALOG_PROBE_NO_WATCHES, {"/bin/true"});
        GatewayTargetStates targets(gateway, u'А');
        QSignalSpy settled(&store, &StoreWatch::settled), known(&targets, &TargetStates::known);
        // A helper that stops while the target's folders are asked is
        // replaced; its questions, asked again, are answered late.
        if (change.endsWith("helper stopped")) {
            QTRY_VERIFY(gateway.helperProcess() > 0);
            QCOMPARE(::kill(pid_t(gateway.helperProcess()), SIGSTOP), 0);
        }
        const qint64 firstHelper = gateway.helperProcess();
        targets.follow({target});
        // Its folders found and watched (or first looked at) by the helper.
        QTRY_COMPARE_WITH_TIMEOUT(gateway.questionsOut(), 0, 10000);
        if (change.endsWith("helper stopped"))
            QVERIFY(gateway.helperProcess() != firstHelper);

        const auto unmountAfter = qScopeGuard([&] {
            if (change == "mount")
                umount2(qPrintable(folder), MNT_DETACH);
        });
        if (change == "rename store")
            QVERIFY(writeBytes(m_path + ".new", "x\r\n") &&
                    ::rename(qPrintable(m_path + ".new"), qPrintable(m_path)) == 0);
        else if (change == "rewrite store" || change == "make store")
            QVERIFY(writeBytes(m_path, "x\r\n"));
        else if (change == "rewrite store 5")
            for (int i = 0; i < 5; ++i) {
                QVERIFY(writeBytes(m_path, QByteArray::number(i) + "\r\n"));
                QTest::qWait(30);
            }
        else if (change.startsWith("delete target"))
            QVERIFY(QFile::remove(target));
        else if (change == "make target")
            QVERIFY(writeBytes(target, "t"));
        else if (change == "rename target")
            QVERIFY(QFile::rename(target, folder + "/t2.txt"));
        else if (change == "unmount")
            QVERIFY(umount(qPrintable(folder)) == 0);
        else if (change == "mount" && mount("none", qPrintable(folder), "tmpfs", 0, nullptr) != 0)
            QSKIP("no tmpfs mount here");
        if (change == "remake folder") {
            QVERIFY(QDir(folder).removeRecursively());
            // Heard of, and its watch moved to what is left.
            QTRY_VERIFY_WITH_TIMEOUT(
                !known.isEmpty() && known.last().at(0).value<TargetState>().iconNames.isEmpty() &&
                    gateway.questionsOut() == 0,
                waited);
            QVERIFY(QDir().mkpath(folder) && writeBytes(target, "t"));
        }

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
        // And nothing more comes, say the same change told again.
        hearSecondStore();
        QCOMPARE(settled.size(), int(storeHeard));
    }

    // Each target's icon as the desktop's file managers show it, from the
    // helper's answers: the type's or the special folder's theme names in
    // order, an application entry's own icon (or its picture file).
    void looksUpIcons_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QByteArray>(
            "content"); // a file's; "empty", "fifo", "folder" or "" (none there)
        QTest::addColumn<QStringList>("names"); // the first of them, in order
        QTest::addColumn<bool>("picture");
        const QByteArray entry = "[Desktop Entry]\nType=Application\nName=A\nExec=a\n";
        // clang-format off
        QTest::newRow("a folder") << "Folder" << QByteArray("folder") << QStringList{"inode-directory", "folder"} << false;
        QTest::newRow("the home folder") << QDir::homePath() << QByteArray() << QStringList{"user-home"} << false;
        QTest::newRow("an empty file is not read: plain text, whatever its name") << "empty.sh" << QByteArray("empty") << QStringList{"text-plain"} << false;
        QTest::newRow("a script known by its first bytes") << "script" << QByteArray("#!/bin/sh\necho\n") << QStringList{"application-x-shellscript", "text-x-script"} << false;
        QTest::newRow("a pipe") << "pipe" << QByteArray("fifo") << QStringList{"inode-fifo", "inode-x-generic"} << false;
        QTest::newRow("an application's theme icon, its extension dropped") << "a.desktop" << entry + "Icon=katalog-test.png\n" << QStringList{"katalog-test"} << false;
        QTest::newRow("an application's picture file") << "b.desktop" << entry + "Icon=PICTURE\n" << QStringList() << true;
        QTest::newRow("a link entry: a desktop file's icon") << "c.desktop" << QByteArray("[Desktop Entry]\nType=Link\nURL=file:///\nIcon=x\n") << QStringList{"application-x-desktop"} << false;
        QTest::newRow("missing: none") << "missing" << QByteArray() << QStringList() << false;
        // clang-format on
    }
    void looksUpIcons()
    {
        QFETCH(QString, target);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, names);
        QFETCH(bool, picture);
        const QString path = QDir::isAbsolutePath(target) ? target : m_folder->filePath(target);
        const QString pictureFile = m_folder->filePath("picture.png");
        QImage(4, 4, QImage::Format_RGB32).save(pictureFile);
        if (content == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (content == "fifo")
            QVERIFY(mkfifo(qPrintable(path), 0600) == 0);
        else if (content == "empty")
            QVERIFY(writeBytes(path, {}));
        else if (!content.isEmpty())
            QVERIFY(writeBytes(path, QByteArray(content).replace("PICTURE", pictureFile.toUtf8())));
        DiskGateway gateway(KATALOG_PROBE, {"/bin/true"});
        GatewayTargetStates targets(gateway, u'А');
        QSignalSpy known(&targets, &TargetStates::known);
        // Asked again while out, it is answered once; asked after, again.
        targets.lookUp(path);
        targets.lookUp(path);
        QTRY_COMPARE(known.size(), 1);
        targets.lookUp(path);
        QTRY_COMPARE(known.size(), 2);
        const auto state = known.at(0).at(0).value<TargetState>();
        QCOMPARE(state.iconNames.mid(0, names.size()), names);
        QCOMPARE(state.iconNames.isEmpty(), names.isEmpty());
        QCOMPARE(!state.iconImage.isNull(), picture);
    }
};

QTEST_GUILESS_MAIN(TestTargets)
#include "tst_targets.moc"
