// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpers/TestFiles.h"
#include "helpers/Unprivileged.h"
#include "panel/SlotList.h"
#include "panel/StoreFile.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList numbered(int count)
{
    QStringList entries;
    for (int i = 0; i < count; ++i)
        entries.append(QStringLiteral("e%1").arg(i));
    return entries;
}

QByteArray crlfLines(const QStringList &entries)
{
    QByteArray bytes;
    for (const QString &entry : entries)
        bytes += entry.toLatin1() + "\r\n";
    return bytes;
}

} // namespace

class TestSlotList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("knw.dll"));
        QFile::remove(m_path);
    }

    void replaceSlotEntries_data()
    {
        QTest::addColumn<int>("entriesBefore");
        QTest::addColumn<int>("slot");

        QTest::newRow("slot 1 of 25 entries") << 25 << 1;
        QTest::newRow("slot 12 of 25 entries") << 25 << 12;
        QTest::newRow("slot 12 of 30 entries") << 30 << 12;
        QTest::newRow("slot 1 of a 3-line store") << 3 << 1;
        QTest::newRow("slot 12 of an empty store") << 0 << 12;
    }

    void replaceSlotEntries()
    {
        QFETCH(int, entriesBefore);
        QFETCH(int, slot);
        const QStringList before = numbered(entriesBefore);
        QVERIFY(writeBytes(m_path, crlfLines(before)));
        SlotList list([this] { return m_path; });
        QVERIFY(list.LoadSlotList().ok());

        list.ReplaceSlotEntries(slot, QStringLiteral("/p"), QStringLiteral("c"));

        const int expectedCount = qMax(entriesBefore, int(SlotList::EntryCount));
        QCOMPARE(list.count(), expectedCount);
        for (int i = 0; i < expectedCount; ++i) {
            const QString expected = i == slot        ? QStringLiteral("/p")
                                     : i == slot + 12 ? QStringLiteral("c")
                                                      : before.value(i);
            QCOMPARE(list.entry(i), expected);
        }
    }

    void firstSaveRewritesDefaultStoreWithCrLf()
    {
        SlotList list([this] { return m_path; });
        QVERIFY(list.WriteDefaultStore().ok());
        QVERIFY(list.LoadSlotList().ok());
        QCOMPARE(list.entries(), QStringList(25, QStringLiteral("1")));

        list.ReplaceSlotEntries(3, QStringLiteral("/home/u/report.doc"),
                                QStringLiteral("report.doc"));
        QVERIFY(list.SaveAndReloadSlotList().ok());

        QStringList expected(25, QStringLiteral("1"));
        expected[3] = QStringLiteral("/home/u/report.doc");
        expected[15] = QStringLiteral("report.doc");
        QCOMPARE(list.entries(), expected);
        QCOMPARE(readBytes(m_path), crlfLines(expected));
    }

    void saveKeepsEntriesBeyondTheSlots()
    {
        const QStringList thirty = numbered(30);
        QVERIFY(writeBytes(m_path, crlfLines(thirty).replace("\r\n", "\r")));
        SlotList list([this] { return m_path; });
        QVERIFY(list.LoadSlotList().ok());

        list.ReplaceSlotEntries(12, QStringLiteral("1"), QStringLiteral("1"));
        QVERIFY(list.SaveAndReloadSlotList().ok());

        QStringList expected = thirty;
        expected[12] = expected[24] = QStringLiteral("1");
        QCOMPARE(list.entries(), expected);
        QCOMPARE(readBytes(m_path), crlfLines(expected));
    }

    void saveWhereTheFolderIsReadOnly_data()
    {
        QTest::addColumn<bool>("storeWritable");
        QTest::newRow("store read-only too: old file, old list") << false;
        QTest::newRow("store writable: written in place") << true;
    }

    void saveWhereTheFolderIsReadOnly()
    {
        QFETCH(bool, storeWritable);
        const QByteArray old = StoreFile::defaultContent();
        QVERIFY(writeBytes(m_path, old));
        QVERIFY(QFile::setPermissions(m_path, storeWritable ? QFileDevice::Permissions(0x0666)
                                                            : QFileDevice::Permissions(0x0444)));
        SlotList list([this] { return m_path; });
        QVERIFY(list.LoadSlotList().ok());
        list.ReplaceSlotEntries(5, QStringLiteral("/x"), QStringLiteral("x"));
        QVERIFY(makeReadOnly(m_dir.path()));

        StoreResult result;
        {
            Unprivileged asUser;
            QVERIFY(asUser.active());
            result = list.SaveAndReloadSlotList();
        }
        QVERIFY(makeWritableByAll(m_dir.path()));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"knw.dll"});
        QStringList expected(25, QStringLiteral("1"));
        if (storeWritable) {
            QVERIFY(result.ok());
            expected[5] = QStringLiteral("/x");
            expected[17] = QStringLiteral("x");
            QCOMPARE(readBytes(m_path), crlfLines(expected));
        } else {
            QCOMPARE(result.step(), StoreResult::Step::Write);
            QVERIFY(result.message().contains(m_path));
            QCOMPARE(readBytes(m_path), old);
        }
        QCOMPARE(list.entries(), expected);
    }

    void failedReadBackKeepsTheEntries()
    {
        QVERIFY(writeBytes(m_path, StoreFile::defaultContent()));
        int asked = 0;
        // The store is found where it was saved, then gone when read back.
        SlotList list(
            [&] { return ++asked <= 2 ? m_path : m_dir.filePath(QStringLiteral("gone")); });
        QVERIFY(list.LoadSlotList().ok());
        list.ReplaceSlotEntries(1, QStringLiteral("/a"), QStringLiteral("a"));

        const StoreResult result = list.SaveAndReloadSlotList();
        QCOMPARE(result.step(), StoreResult::Step::ReadBack);
        QCOMPARE(list.count(), 25);
        QCOMPARE(list.pathEntry(1), QStringLiteral("/a"));
        QCOMPARE(list.captionEntry(1), QStringLiteral("a"));
    }

    void storeThatCouldNotBeReadIsNotOverwritten()
    {
        const QByteArray precious = "1\r\n/my/precious\r\n";
        QVERIFY(writeBytes(m_path, precious));
        QVERIFY(QFile::setPermissions(m_path, QFileDevice::WriteOwner));
        QVERIFY(makeWritableByAll(m_dir.path()));

        StoreResult loaded;
        StoreResult saved;
        {
            Unprivileged asUser;
            QVERIFY(asUser.active());
            SlotList list([this] { return m_path; });
            loaded = list.LoadSlotList();
            list.ReplaceSlotEntries(2, QStringLiteral("/b"), QStringLiteral("b"));
            saved = list.SaveAndReloadSlotList();
        }
        QCOMPARE(loaded.step(), StoreResult::Step::Read);
        QCOMPARE(saved.step(), StoreResult::Step::Guard);
        QCOMPARE(readBytes(m_path), precious);
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestSlotList)
#include "tst_slotlist.moc"
