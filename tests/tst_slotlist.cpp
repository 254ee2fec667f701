// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpers/FakeDesktop.h"
#include "panel/SlotList.h"
#include "panel/StoreFile.h"

#include <QTest>

namespace {

QByteArray crlfLines(const QStringList &entries)
{
    QByteArray bytes;
    for (const QString &entry : entries)
        bytes += entry.toUtf8() + "\r\n";
    return bytes;
}

} // namespace

class TestSlotList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newStoreThenFirstSave()
    {
        MemoryStore store;
        SlotList list(store);
        QVERIFY(!list.storeExists());
        QVERIFY(list.WriteDefaultStore().ok());
        QCOMPARE(store.bytes.value(), StoreFile::defaultContent(25));
        QVERIFY(list.LoadSlotList().ok());
        QCOMPARE(list.entries(), QStringList(25, "1"));
        QVERIFY(list.SaveAndReloadSlotList().ok());
        QCOMPARE(store.bytes.value(), crlfLines(QStringList(25, "1"))); // no bare CR left
    }

    void replaceAndSave_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("slot");
        // clang-format off
        QTest::newRow("slot 1 of 25") << 25 << 1;
        QTest::newRow("slot 12 of 25") << 25 << 12;
        QTest::newRow("slot 12 of 30: extras kept after entry 24") << 30 << 12;
        QTest::newRow("short store padded with empty entries") << 3 << 12;
        // clang-format on
    }

    void replaceAndSave()
    {
        QFETCH(int, lines);
        QFETCH(int, slot);
        QStringList before;
        for (int i = 0; i < lines; ++i)
            before.append(QStringLiteral("e%1").arg(i));
        MemoryStore store;
        store.bytes = crlfLines(before).replace("\r\n", "\r"); // bare CRs read alike
        SlotList list(store);
        QVERIFY(list.LoadSlotList().ok());
        QCOMPARE(list.entries(), before);

        list.ReplaceSlotEntries(slot, QStringLiteral("/p"), QStringLiteral("c"));
        QVERIFY(list.SaveAndReloadSlotList().ok());
        QStringList expected = before;
        while (expected.size() < 25)
            expected.append(QString());
        expected[slot] = QStringLiteral("/p");
        expected[slot + 12] = QStringLiteral("c");
        QCOMPARE(list.entries(), expected);
        QCOMPARE(store.bytes.value(), crlfLines(expected));
    }

    // A save that fails leaves the store as it was and the list as the store
    // holds it; a store that could not be read is never overwritten.
    void failures_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("changeKept");
        // clang-format off
        QTest::newRow("write fails") << "write" << int(StoreResult::Step::Write) << false;
        QTest::newRow("entry with a line break") << "entry" << int(StoreResult::Step::Write) << false;
        QTest::newRow("read-back fails: the list stays the truth") << "read-back" << int(StoreResult::Step::ReadBack) << true;
        QTest::newRow("store unread at start") << "load" << int(StoreResult::Step::Guard) << false;
        // clang-format on
    }

    void failures()
    {
        QFETCH(QString, failing);
        QFETCH(int, step);
        QFETCH(bool, changeKept);
        MemoryStore store;
        store.bytes = StoreFile::defaultContent(25);
        const QByteArray old = *store.bytes;
        if (failing == "load")
            store.readFailure = QStringLiteral("Permission denied");
        SlotList list(store);
        QCOMPARE(list.LoadSlotList().ok(), failing != "load");
        const QStringList loaded = list.entries();
        list.ReplaceSlotEntries(5, QStringLiteral("/x"),
                                failing == "entry" ? QStringLiteral("a\nb") : QStringLiteral("x"));
        if (failing == "write")
            store.writeFailure = QStringLiteral("No space left on device");
        if (failing == "read-back")
            store.readFailure = QStringLiteral("Input/output error");

        const StoreResult result = list.SaveAndReloadSlotList();
        QCOMPARE(int(result.step()), step);
        QVERIFY(result.message().contains(store.path()));
        QCOMPARE(list.pathEntry(5), changeKept ? QStringLiteral("/x") : loaded.value(5));
        if (failing != "read-back")
            QCOMPARE(store.bytes.value(), old);
    }
};

QTEST_GUILESS_MAIN(TestSlotList)
#include "tst_slotlist.moc"
