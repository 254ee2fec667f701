// SPDX-License-Identifier: GPL-3.0-or-later
// The store on a real disk, under attack: a panel killed while saving, a disk
// that takes no more, a folder only the store may be written in, something
// there that is no store, a store shared with others.
#include "helpers/AsUser.h"
#include "helpers/StoreFolder.h"
#include "helpers/TestFiles.h"
#include "store/SlotList.h"
#include "store/StoreFile.h"
#include "store/StoreResult.h"
#include "support/disk/DiskStore.h"
#include "support/reasons/SystemReason.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <tuple>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>

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

} // namespace

class TestDiskStore : public StoreFolder
{
    Q_OBJECT

private Q_SLOTS:
    void init() { freshFolder(); }

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
            failure = disk.replace("new\r\n", old).failure;
        }
        QVERIFY(makeReadOnly(m_folder->path(), false));
        QVERIFY(failure);
        QCOMPARE(readBytes(m_path), old);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{"knw.dll"});
    }

    // Something there that is no store is reported in Russian, at once, never
    // taken as empty, read whole or waited on, and left as it is. A store of
    // the largest size is read whole.
    void readsOnlyAStore_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        // clang-format off
        QTest::newRow("a folder") << "folder" << "это папка";
        QTest::newRow("a pipe, which would wait for a writer") << "fifo" << "не обычный файл";
        QTest::newRow("a device that never ends, through a link") << "/dev/zero" << "не обычный файл";
        QTest::newRow("a file a byte larger than the largest store") << "large" << "больше 1 МиБ";
        QTest::newRow("the largest store: read whole") << "largest" << "";
        // clang-format on
    }

    void readsOnlyAStore()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QByteArray local = QFile::encodeName(m_path);
        if (kind == "folder")
            QVERIFY(QDir().mkpath(m_path));
        else if (kind == "fifo")
            QCOMPARE(mkfifo(local.constData(), 0600), 0);
        else if (kind.startsWith("large"))
            QVERIFY(QFile(m_path).open(QIODevice::WriteOnly) &&
                    QFile::resize(m_path, DiskStore::LargestStore + (kind == "large")));
        else
            QVERIFY(QFile::link(kind, m_path));
        const auto look = [this] {
            const QFileInfo info(m_path);
            return std::tuple(info.isDir(), info.isSymLink(), info.size());
        };
        const auto before = look();
        DiskStore disk(m_path);
        const StoreMedium::Contents read = disk.read();
        if (reason.isEmpty()) {
            QVERIFY2(!read.failure, qPrintable(russianReason(read.failure)));
            QCOMPARE(read.bytes.size(), DiskStore::LargestStore);
            return;
        }
        QVERIFY(disk.exists() && read.failure && read.bytes.isEmpty());
        const QString said =
            StoreResult::failure(StoreResult::Step::Read, "", read.failure).message();
        QVERIFY2(said.contains(reason), qPrintable(said));
        QVERIFY(look() == before); // left as it is
    }

    // A store shared through its group or an access list stays shared after
    // a save: through a link, the file it leads to; where the new file cannot
    // be given the group or owner, the store is written where it is. Another
    // program's store, there since the panel read it, stays as it is.
    void keepsItsOwnerGroupModeAndAccessList_data()
    {
        QTest::addColumn<bool>("throughLink");
        QTest::addColumn<bool>("asUser");
        QTest::addColumn<bool>("withAcl");
        // The store as the panel read it: "older" than what is there, or "none".
        QTest::addColumn<QString>("seen");
        // clang-format off
        QTest::newRow("group and mode") << false << false << false << "";
        QTest::newRow("through a link: its target's") << true << false << false << "";
        QTest::newRow("an access list") << false << false << true << "";
        QTest::newRow("another's store, written by its group") << false << true << false << "";
        QTest::newRow("a save after an unseen outside rewrite: kept") << false << false << false << "older";
        QTest::newRow("a save in place after an unseen outside rewrite: kept") << false << true << false << "older";
        QTest::newRow("a first save after an unseen outside store: kept") << true << false << false << "none";
        // clang-format on
    }

    void keepsItsOwnerGroupModeAndAccessList()
    {
        QFETCH(bool, throughLink);
        QFETCH(bool, asUser);
        QFETCH(bool, withAcl);
        QFETCH(QString, seen);
        if (geteuid() != 0)
            QSKIP("giving a file a group needs root");
        const QString target = throughLink ? m_folder->filePath("elsewhere.dll") : m_path;
        // Another program's first line: a save must write every byte; and a
        // longer tail, which a save written in place must cut off.
        const QByteArray there = "x" + StoreFile::defaultContent(25) + "a longer tail\r\n";
        QVERIFY(writeBytes(target, there));
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
        const QByteArray saved = StoreFile::defaultContent(25) + "more\r\n";
        const std::optional<QByteArray> read = seen == "none"   ? std::nullopt
                                               : seen.isEmpty() ? std::optional(there)
                                                                : StoreFile::defaultContent(25);
        StoreMedium::Replaced replaced;
        {
            std::optional<Unprivileged> user;
            if (asUser)
                QVERIFY(user.emplace().active());
            replaced = disk.replace(saved, read);
        }
        QVERIFY2(!replaced.failure, qPrintable(russianReason(replaced.failure)));
        QCOMPARE(replaced.theirs, seen.isEmpty() ? std::nullopt : std::optional(there));
        QVERIFY(readBytes(target) == (seen.isEmpty() ? saved : there) &&
                QFileInfo(m_path).isSymLink() == throughLink);
        QCOMPARE(ownership(), before);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files).size(), throughLink ? 2 : 1);
    }
};

QTEST_GUILESS_MAIN(TestDiskStore)
#include "tst_diskstore.moc"
