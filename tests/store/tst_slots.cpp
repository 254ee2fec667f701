// SPDX-License-Identifier: GPL-3.0-or-later
// The slots without a window: the store's bytes, the slot list over a store
// in memory, and the rules for what a dropped path becomes (directory
// look-ups, captions, the catalogue probe, spoken names, a drop's files).
#include "catalogue/CatalogueLetters.h"
#include "drops/DroppedFiles.h"
#include "helpers/FakeDesktop.h"
#include "panel/SlotRules.h"
#include "store/SlotList.h"
#include "store/StoreCodec.h"
#include "store/StoreFile.h"
#include "support/EntryFacts.h"
#include "support/targets/GatewayTargetStates.h"

#include <QDir>
#include <QMimeData>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

class TestSlots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // How bytes split into entries, and whether writing the entries gives the
    // same bytes back.
    void lineRule_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("asWritten");
        QByteArray every; // each byte but CR and LF
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                every.append(char(b));
        }
        const QStringList everyEntries = StoreFile::parse(every);
        // clang-format off
        QTest::newRow("empty file") << QByteArray() << QStringList() << true;
        QTest::newRow("a new store: 51 bytes, 25 placeholders") << QByteArray("1\r").repeated(24) + "1\r\n" << QStringList(25, "1") << false;
        QTest::newRow("CR LF at the end gives no extra entry") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"} << true;
        QTest::newRow("bare CR ends a line") << QByteArray("a\rb\r") << QStringList{"a", "b"} << false;
        QTest::newRow("mixed ends") << QByteArray("a\rb\r\nc") << QStringList{"a", "b", "c"} << false;
        QTest::newRow("empty lines give empty entries") << QByteArray("\r\n\r\nx\r\n\r\n") << QStringList{"", "", "x", ""} << true;
        QTest::newRow("lone LF ends a line") << QByteArray("a\nb") << QStringList{"a", "b"} << false;
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"} << false;
        QTest::newRow("Windows-1251 text") << QByteArray("C:\\\xc8\xe3\xf0\xfb\r\n \xc8\xe3\xf0\xfb\r\n") << QStringList{u"C:\\Игры"_qs, u" Игры"_qs} << true;
        QTest::newRow("every byte but CR and LF") << "head\r\n" + every + "\r\n" + every.right(7) + "\r\n" << QStringList{"head", everyEntries[0], everyEntries[0].right(7)} << true;
        // clang-format on
    }

    void lineRule()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, entries);
        QFETCH(bool, asWritten);
        QCOMPARE(StoreFile::parse(bytes), entries);
        QCOMPARE(StoreFile::serialise(entries).value() == bytes, asWritten);
    }

    // Characters Windows-1251 has are its bytes; the others are 0x98 and
    // their UTF-8 bytes. An empty "bytes" means the text is refused.
    void entryCodec_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");

        // clang-format off
        QTest::newRow("Ё and ё") << u"Ёё"_qs << QByteArray("\xa8\xb8");
        QTest::newRow("emoji outside the BMP") << u"🎵"_qs << QByteArray("\x98\xf0\x9f\x8e\xb5");
        QTest::newRow("U+0098 itself") << u"\u0098"_qs << QByteArray("\x98");
        QTest::newRow("U+0098 twice, then é") << u"\u0098\u0098é"_qs << QByteArray("\x98\x98\x98\xc3\xa9");
        QTest::newRow("a mix in one entry") << u"Мой Müller 数据.txt"_qs << QByteArray("\xcc\xee\xe9 M\x98\xc3\xbcller " "\x98\xe6\x95\xb0\x98\xe6\x8d\xae.txt");
        QTest::newRow("0x98 before the UTF-8 of a letter 1251 has reads literally") << u"\u0098Рђ"_qs << QByteArray("\x98\xd0\x90");
        QTest::newRow("0x98 before an overlong form reads literally") << u"\u0098АЂ"_qs << QByteArray("\x98\xc0\x80");
        QTest::newRow("0x98 before a three-byte overlong form reads literally") << u"\u0098а\u201aЂ"_qs << QByteArray("\x98\xe0\x82\x80");
        QTest::newRow("0x98 before an encoded surrogate reads literally") << u"\u0098н\u00a0Ђ"_qs << QByteArray("\x98\xed\xa0\x80");
        QTest::newRow("0x98 before a cut-off sequence reads literally") << u"x\u0098В"_qs << QByteArray("x\x98\xc2");
        QTest::newRow("refused: U+0098 before letters that spell é") << u"\u0098Г©"_qs << QByteArray();
        QTest::newRow("refused: LF") << u"a\nb"_qs << QByteArray();
        QTest::newRow("refused: lone surrogate") << QString(QChar(0xD800)) << QByteArray();
        // clang-format on
    }

    void entryCodec()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const std::optional<QByteArray> encoded = StoreCodec::encodeLine(text);
        QCOMPARE(StoreFile::canHold(text), !bytes.isEmpty());
        QCOMPARE(encoded.value_or(QByteArray()), bytes);
        // Through a whole store: saved, then loaded to the same.
        const QStringList entries{u"1"_qs, text, text};
        if (encoded)
            QCOMPARE(StoreFile::parse(StoreFile::serialise(entries).value()), entries);
    }

    // A change is saved with the store's extras kept and a short store padded;
    // a save that fails leaves the store as it was and the list as the store
    // holds it, and a store that could not be read is never overwritten.
    void replaceAndSave_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("step"); // where it fails
        const int write = int(StoreResult::Step::Write);
        // clang-format off
        QTest::newRow("slot 1 of 25") << 25 << 1 << "" << 0;
        QTest::newRow("slot 12 of 30: extras kept after entry 24") << 30 << 12 << "" << 0;
        QTest::newRow("short store padded with empty entries") << 3 << 12 << "" << 0;
        QTest::newRow("write fails") << 25 << 5 << "write" << write;
        QTest::newRow("write fails for a rare reason: its number") << 25 << 5 << "rare" << write;
        QTest::newRow("entry with a line break") << 25 << 5 << "entry" << write;
        QTest::newRow("read-back fails: the list stays the truth") << 25 << 5 << "read-back" << int(StoreResult::Step::ReadBack);
        QTest::newRow("store unread at start") << 25 << 5 << "load" << int(StoreResult::Step::Guard);
        // clang-format on
    }

    void replaceAndSave()
    {
        QFETCH(int, lines);
        QFETCH(int, slot);
        QFETCH(QString, failing);
        QFETCH(int, step);
        QStringList before;
        for (int i = 0; i < lines; ++i)
            before.append(QStringLiteral("e%1").arg(i));
        MemoryStore store;
        store.bytes = StoreFile::serialise(before)->replace("\r\n", "\r"); // bare CRs read alike
        const QByteArray old = *store.bytes;
        if (failing == "load")
            store.readFailure = std::make_error_code(std::errc::permission_denied);
        SlotList list(store);
        // Each message names the file, then why.
        const auto saysWhereThenWhy = [&store](const StoreResult &result) {
            return result.message().indexOf(store.path()) <
                   result.message().indexOf(result.reason());
        };
        const StoreResult load = list.LoadSlotList();
        QCOMPARE(load.ok(), failing != "load");
        QVERIFY(load.ok() || saysWhereThenWhy(load));
        const QStringList loaded = list.entries();
        QCOMPARE(loaded, failing == "load" ? QStringList() : before);

        list.ReplaceSlotEntries(slot, "/p", failing == "entry" ? "а\nб" : "c");
        if (failing == "write")
            store.writeFailure = std::make_error_code(std::errc::no_space_on_device);
        if (failing == "rare")
            store.writeFailure = std::make_error_code(std::errc::cross_device_link);
        if (failing == "read-back")
            store.readFailure = std::make_error_code(std::errc::io_error);
        const StoreResult result = list.SaveAndReloadSlotList();
        QStringList expected = before;
        while (expected.size() < 25)
            expected.append(QString());
        expected[slot] = QStringLiteral("/p");
        expected[slot + 12] = QStringLiteral("c");
        QCOMPARE(int(result.step()), step);
        if (step) { // in Russian, the reason too, after the file; a rare one by its number
            QVERIFY(saysWhereThenWhy(result));
            const QString said = result.message().remove(store.path());
            QVERIFY2(!said.contains(QRegularExpression("[A-Za-z]")), qPrintable(said));
            QCOMPARE(said.contains(QString::number(EXDEV)), failing == "rare");
        }
        const bool written = !step || failing == "read-back";
        QCOMPARE(list.entries(), written ? expected : loaded);
        QCOMPARE(store.bytes, written ? StoreFile::serialise(expected) : old);
    }

    void initTestCase()
    {
        QDir dir(m_dir.path());
        for (const char *folder : {"Games/А", ".hidden", "Plain", "Café 数据/А", "Files"})
            QVERIFY(dir.mkpath(QString::fromUtf8(folder)));
        for (const char *file : {"report.doc", ".profile", "Games/Б", "Files/А", "1"})
            QVERIFY(QFile(dir.filePath(QString::fromUtf8(file))).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("dangling")));
        QVERIFY(QFile::link(dir.filePath("Games"), dir.filePath("linked")));
    }

    // What the look-ups find (plain files only, then folders too), the
    // caption a drop of the path gets, whether it holds the catalogue's "А",
    // and what a screen reader says of its slot.
    void lookUp_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("folderName");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("catalogue");
        QTest::addColumn<QString>("spoken");
        // clang-format off
        QTest::newRow("catalogue") << "Games" << "" << "Games" << " Games" << true << "Папка Games";
        QTest::newRow("named outside Windows-1251") << "Café 数据" << "" << "Café 数据" << " Café 数据" << true << "Папка Café 数据";
        QTest::newRow("folder") << "Plain" << "" << "Plain" << " Plain" << false << "Папка Plain";
        QTest::newRow("a file named А makes a catalogue") << "Files" << "" << "Files" << " Files" << true << "Папка Files";
        QTest::newRow("the probe's own folder") << "Games/А" << "" << "А" << " А" << false << "Папка А";
        QTest::newRow("file named by a letter") << "Games/Б" << "Б" << "Б" << "Б" << false << "Б";
        QTest::newRow("plain file") << "report.doc" << "report.doc" << "report.doc" << "report.doc" << false << "report.doc";
        QTest::newRow("dangling link is a file") << "dangling" << "dangling" << "dangling" << "dangling" << false << "dangling";
        QTest::newRow("link to a catalogue is one") << "linked" << "" << "linked" << " linked" << true << "Папка linked";
        QTest::newRow("missing name") << "nothing" << "" << "" << " " << false << "Пустая кнопка";
        QTest::newRow("hidden folder") << ".hidden" << "" << "" << " " << false << "Пустая кнопка";
        QTest::newRow("hidden file") << ".profile" << "" << "" << " " << false << "Пустая кнопка";
        QTest::newRow("a file named 1") << "1" << "1" << "1" << "1" << false << "1";
        QTest::newRow("file taken as a folder") << "report.doc/А" << "" << "" << " " << false << "Пустая кнопка";
        // clang-format on
    }

    void lookUp()
    {
        QFETCH(QString, relative);
        QFETCH(QString, fileName);
        QFETCH(QString, folderName);
        QFETCH(QString, caption);
        QFETCH(bool, catalogue);
        QFETCH(QString, spoken);
        const QString path = m_dir.filePath(relative);
        QCOMPARE(FolderExists(localFacts(path)), !folderName.isEmpty());
        const TargetState target = GatewayTargetStates::stateOf(
            localFacts(path), localFacts(path + '/' + CatalogueLetters::FirstLetter));
        QCOMPARE(target.path, path);
        QCOMPARE(target.fileName, fileName);
        QCOMPARE(target.entryName, folderName);
        QCOMPARE(SlotRules::captionOf(target), caption);
        QCOMPARE(target.holdsFirstLetter, catalogue);
        QCOMPARE(SlotRules::spokenName(path, caption), spoken);
    }

    // A drop's files: local ones only, in order, their paths cleaned. (Names
    // that are not UTF-8, and what is not a file, are rows of the panel's
    // drop table.)
    void droppedFiles_data()
    {
        QTest::addColumn<QByteArray>("uris");
        QTest::addColumn<QStringList>("files");
        // clang-format off
        QTest::newRow("three files in order, cleaned")
            << QByteArray("file:///a/1.txt\r\nfile:///b/\r\nfile:///c//./x%20y.txt")
            << QStringList{"/a/1.txt", "/b", "/c/x y.txt"};
        QTest::newRow("no cleaning across a link: .. kept") << QByteArray("file:///a/lnk/../f.txt") << QStringList{"/a/lnk/../f.txt"};
        QTest::newRow("file://localhost/ is this machine") << QByteArray("file://localhost/tmp/b") << QStringList{"/tmp/b"};
        QTest::newRow("a relative file: URL") << QByteArray("file:relative") << QStringList();
        QTest::newRow("another host's file") << QByteArray("file://otherhost/tmp/x") << QStringList();
        // clang-format on
    }

    void droppedFiles()
    {
        QFETCH(QByteArray, uris);
        QFETCH(QStringList, files);
        QMimeData data;
        data.setData("text/uri-list", uris);
        QStringList got;
        for (const DroppedFile &file : ::droppedFiles(&data))
            got.append(file.path);
        QCOMPARE(got, files);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestSlots)
#include "tst_slots.moc"
