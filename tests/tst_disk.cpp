// SPDX-License-Identifier: GPL-3.0-or-later
// The store on a real disk, under attack: a panel killed while saving, a disk
// that takes no more, a folder only the store may be written in, and a
// second panel on the same store.
#include "helpers/TestFiles.h"
#include "panel/SlotList.h"
#include "panel/StoreFile.h"
#include "support/DiskStore.h"
#include "support/SingleInstance.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
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
    // can leaves a store it could have written, never a torn one.
    void killedMidSaveLeavesACompleteStore()
    {
        QVERIFY(writeBytes(m_path, *StoreFile::serialise(QStringList(25, "1") + Extras)));
        int sawChange = 0;
        for (int run = 0; run < 120; ++run) {
            const pid_t churn = fork();
            if (churn == 0) {
                DiskStore disk([this] { return m_path; });
                SlotList list(disk);
                bool saved = list.LoadSlotList().ok();
                for (int change = 0; saved; ++change) {
                    list.ReplaceSlotEntries(change % 12 + 1,
                                            QStringLiteral("/churn/%1").arg(change),
                                            QStringLiteral("churn %1").arg(change));
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
        QVERIFY(sawChange > 0); // the kills fell while saves were going on
    }

    void fullDiskKeepsTheStore()
    {
        const QByteArray old = *StoreFile::serialise(QStringList(25, "1") + Extras);
        QVERIFY(writeBytes(m_path, old));
        DiskStore disk([this] { return m_path; });
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
        QCOMPARE(readBytes(m_path), old);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{"knw.dll"});
    }

    // A folder nobody may add files to: the store is written in place if it
    // is writable itself, and left alone if it is not.
    void readOnlyFolder_data()
    {
        QTest::addColumn<bool>("storeWritable");
        // clang-format off
        QTest::newRow("store read-only too") << false;
        QTest::newRow("store writable: written in place") << true;
        // clang-format on
    }

    void readOnlyFolder()
    {
        QFETCH(bool, storeWritable);
        const QByteArray old = StoreFile::defaultContent(25);
        QVERIFY(writeBytes(m_path, old));
        QVERIFY(
            QFile::setPermissions(m_path, QFileDevice::Permissions(storeWritable ? 0x666 : 0x444)));
        QVERIFY(makeReadOnly(m_folder->path()));
        DiskStore disk([this] { return m_path; });
        std::optional<QString> failure;
        {
            Unprivileged asUser;
            QVERIFY(asUser.active());
            failure = disk.replace("new\r\n");
        }
        QVERIFY(makeReadOnly(m_folder->path(), false));
        QCOMPARE(failure.has_value(), !storeWritable);
        QCOMPARE(readBytes(m_path), storeWritable ? QByteArray("new\r\n") : old);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{"knw.dll"});
    }

    // Something there that cannot be read is reported, never taken as empty.
    void unreadableStoreIsReported()
    {
        QVERIFY(QDir().mkpath(m_path));
        DiskStore disk([this] { return m_path; });
        QVERIFY(disk.exists() && disk.read().failure);
        QVERIFY(QDir().rmdir(m_path));
        QVERIFY(!disk.exists() && disk.read().failure);
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
        QCOMPARE(SingleInstance(m_path).acquire(), SingleInstance::Outcome::Acquired);
        launched.kill();
        launched.waitForFinished();
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestDisk)
#include "tst_disk.moc"
