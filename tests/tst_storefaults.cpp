// SPDX-License-Identifier: GPL-3.0-or-later
// The store on a real disk, under attack: a panel killed while saving, a disk
// that takes no more, a folder only the store may be written in, and stores
// that are not what the panel wrote.
#include "helpers/TestFiles.h"
#include "helpers/Unprivileged.h"
#include "panel/SlotList.h"
#include "panel/StoreFile.h"
#include "support/DiskStore.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

const QStringList Extras = {QStringLiteral("extra one"), QString(2000, QLatin1Char('x'))};

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

// Past the limit a write fails with EFBIG, as on a full disk, instead of the
// process being stopped.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};

} // namespace

class TestStoreFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A fresh folder each time: a killed save leaves its temporary file.
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_path = m_folder->filePath(QStringLiteral("knw.dll"));
    }

    void killedMidSaveLeavesACompleteStore()
    {
        QVERIFY(writeBytes(m_path, *StoreFile::serialise(QStringList(25, "1") + Extras)));
        const QString churn = QCoreApplication::applicationDirPath() + "/store_churn";
        int sawChange = 0;
        for (int run = 0; run < 150; ++run) {
            QProcess process;
            process.start(churn, {m_path});
            QVERIFY(process.waitForStarted());
            QTest::qSleep(1 + QRandomGenerator::global()->bounded(25));
            process.kill();
            QVERIFY(process.waitForFinished());
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
        StoreResult result;
        {
            FileSizeLimit full(64);
            result = list.SaveAndReloadSlotList();
        }
        QCOMPARE(result.step(), StoreResult::Step::Write);
        QCOMPARE(readBytes(m_path), old);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{"knw.dll"});
        // Room again: the next change is saved.
        list.ReplaceSlotEntries(5, QStringLiteral("/b"), QStringLiteral("b"));
        QVERIFY(list.SaveAndReloadSlotList().ok());
        QCOMPARE(StoreFile::parse(readBytes(m_path)).at(5), QStringLiteral("/b"));
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
        QVERIFY(makeWritableByAll(m_folder->path()));
        QCOMPARE(failure.has_value(), !storeWritable);
        QCOMPARE(readBytes(m_path), storeWritable ? QByteArray("new\r\n") : old);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{"knw.dll"});
    }

    void unreadableStoreIsReportedNotEmpty()
    {
        QVERIFY(QDir().mkpath(m_path)); // there, and no file to read
        DiskStore disk([this] { return m_path; });
        QVERIFY(disk.exists());
        QVERIFY(disk.read().failure.has_value());
        QVERIFY(QDir().rmdir(m_path));
        QVERIFY(!disk.exists() && disk.read().failure.has_value());
    }

    void strangeStoresLoadAndKeepTheirEntries_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray garbage(64 * 1024, Qt::Uninitialized);
        QRandomGenerator random(1251);
        for (char &byte : garbage)
            byte = char(random.bounded(256));
        // clang-format off
        QTest::newRow("binary garbage") << garbage;
        QTest::newRow("NUL bytes") << QByteArray(300, '\0') + "\r\n" + QByteArray(40, '\0');
        QTest::newRow("100,000 lines") << QByteArray("line\r\n").repeated(100000);
        QTest::newRow("a 10 MiB line") << "1\r\n" + QByteArray(10 * 1024 * 1024, 'a') + "\r\n1";
        QTest::newRow("only CRs") << QByteArray(40, '\r');
        QTest::newRow("empty") << QByteArray();
        // clang-format on
    }

    void strangeStoresLoadAndKeepTheirEntries()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(writeBytes(m_path, bytes));
        DiskStore disk([this] { return m_path; });
        SlotList list(disk);
        QVERIFY(list.LoadSlotList().ok());
        QStringList expected = StoreFile::parse(bytes);
        QCOMPARE(list.entries(), expected);
        list.ReplaceSlotEntries(1, QStringLiteral("/a"), QStringLiteral("a"));
        QVERIFY(list.SaveAndReloadSlotList().ok());
        while (expected.size() < 25)
            expected.append(QString());
        expected[1] = QStringLiteral("/a");
        expected[13] = QStringLiteral("a");
        QCOMPARE(list.entries(), expected);
        QCOMPARE(readBytes(m_path), StoreFile::serialise(expected).value());
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestStoreFaults)
#include "tst_storefaults.moc"
