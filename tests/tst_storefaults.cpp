// SPDX-License-Identifier: GPL-3.0-or-later
// The store under attack: a panel killed while saving, a disk that takes no
// more, and stores that are not what the panel wrote.
#include "helpers/FakeDesktop.h"
#include "helpers/TestFiles.h"
#include "panel/ShowIconsForm.h"
#include "panel/SlotButton.h"
#include "panel/StoreFile.h"

#include <QMimeData>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

const QStringList Extras = {QStringLiteral("extra one"), QStringLiteral("extra two"),
                            QString(2000, QLatin1Char('x'))};

QByteArray bytesOf(const QStringList &entries)
{
    QByteArray bytes;
    if (!StoreFile::serialise(entries, &bytes, QString()).ok())
        qFatal("unwritable test entries");
    return bytes;
}

// A store the panel could have written while churning: 25 slot entries of
// the churn's forms, then the extras unchanged.
bool isCompleteChurnStore(const QByteArray &bytes)
{
    static const QRegularExpression path(QStringLiteral("^(1|/churn/\\d+)$"));
    static const QRegularExpression caption(QStringLiteral("^(1|churn \\d+)$"));
    const QStringList entries = StoreFile::parse(bytes);
    if (!bytes.endsWith("\r\n") || entries.size() != 25 + Extras.size())
        return false;
    for (int k = 1; k <= 12; ++k) {
        if (!path.match(entries.at(k)).hasMatch() || !caption.match(entries.at(k + 12)).hasMatch())
            return false;
    }
    return entries.mid(25) == Extras && bytes == bytesOf(entries);
}

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        // Past the limit a write fails with EFBIG, as on a full disk, instead
        // of the process being stopped.
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
    void killedMidSaveLeavesACompleteStore()
    {
        QTemporaryDir dir;
        const QString store = dir.filePath(QStringLiteral("knw.dll"));
        QVERIFY(writeBytes(store, bytesOf(QStringList(25, QStringLiteral("1")) + Extras)));
        const QString churn =
            QCoreApplication::applicationDirPath() + QStringLiteral("/store_churn");
        int sawChange = 0;
        for (int run = 0; run < 300; ++run) {
            QProcess process;
            process.start(churn, {store});
            QVERIFY(process.waitForStarted());
            QTest::qSleep(1 + QRandomGenerator::global()->bounded(25));
            process.kill();
            QVERIFY(process.waitForFinished());
            const QByteArray bytes = readBytes(store);
            QVERIFY2(isCompleteChurnStore(bytes), qPrintable(QString::number(run)));
            sawChange += bytes.contains("/churn/");
        }
        // The kills must have fallen while saves were going on.
        QVERIFY(sawChange > 0);
    }

    void fullDiskKeepsTheStoreAndTellsTheUser()
    {
        QTemporaryDir dir;
        const QString store = dir.filePath(QStringLiteral("knw.dll"));
        const QByteArray old = bytesOf(QStringList(25, QStringLiteral("1")) + Extras);
        QVERIFY(writeBytes(store, old));
        FakeDesktop desktop;
        ShowIconsForm form(desktop.services(), [&] { return store; });
        form.Form_Load();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dir.path())});
        {
            FileSizeLimit full(64);
            form.Command1_OLEDragDrop(4, &data);
        }
        QCOMPARE(readBytes(store), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"knw.dll"});
        QCOMPARE(desktop.messages.texts.size(), 1);
        QVERIFY(desktop.messages.texts.first().contains(store));
        // The slot shows what the store holds.
        QCOMPARE(form.Command1(4)->caption(), QStringLiteral("1"));
        QVERIFY(form.Command1(4)->picture().isNull());
        QCOMPARE(form.List1().pathEntry(4), QStringLiteral("1"));

        // Room again: the panel went on, and the next change is saved.
        form.Command1_OLEDragDrop(5, &data);
        QCOMPARE(StoreFile::parse(readBytes(store)).at(5), QDir::cleanPath(dir.path()));
    }

    void strangeStoresLoadAndKeepTheirEntries_data()
    {
        QTest::addColumn<QByteArray>("bytes");

        QByteArray garbage(64 * 1024, Qt::Uninitialized);
        QRandomGenerator random(1251);
        for (char &byte : garbage)
            byte = char(random.bounded(256));
        QByteArray manyLines;
        for (int i = 0; i < 100000; ++i)
            manyLines += "line " + QByteArray::number(i) + "\r\n";

        QTest::newRow("binary garbage") << garbage;
        QTest::newRow("NUL bytes") << QByteArray(300, '\0') + "\r\n" + QByteArray(40, '\0');
        QTest::newRow("100,000 lines") << manyLines;
        QTest::newRow("a 10 MiB line") << "1\r\n" + QByteArray(10 * 1024 * 1024, 'a') + "\r\n1";
        QTest::newRow("lone LF") << QByteArray("\n");
        QTest::newRow("only CRs") << QByteArray(40, '\r');
        QTest::newRow("empty") << QByteArray();
    }

    void strangeStoresLoadAndKeepTheirEntries()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString store = dir.filePath(QStringLiteral("knw.dll"));
        QVERIFY(writeBytes(store, bytes));
        FakeDesktop desktop;
        ShowIconsForm form(desktop.services(), [&] { return store; });
        form.Form_Load();
        QStringList expected = StoreFile::parse(bytes);
        QCOMPARE(form.List1().entries(), expected);

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dir.path())});
        form.Command1_OLEDragDrop(1, &data);

        while (expected.size() < 25)
            expected.append(QString());
        expected[1] = QDir::cleanPath(dir.path());
        expected[13] = QLatin1Char(' ') + QFileInfo(dir.path()).fileName();
        QCOMPARE(form.List1().entries(), expected);
        QCOMPARE(readBytes(store), bytesOf(expected));
        QVERIFY(desktop.messages.texts.isEmpty());
    }
};

QTEST_MAIN(TestStoreFaults)
#include "tst_storefaults.moc"
