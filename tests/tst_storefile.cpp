// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/StoreCodec.h"
#include "panel/StoreFile.h"

#include <QTest>

class TestStoreFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultStoreIs51BytesOf25Placeholders()
    {
        const QByteArray bytes = StoreFile::defaultContent(25);
        QCOMPARE(bytes, QByteArray("1\r").repeated(24) + "1\r\n");
        QCOMPARE(StoreFile::parse(bytes), QStringList(25, QStringLiteral("1")));
    }

    void lineRule_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("entries");

        // clang-format off
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("last line without an end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("CR LF at the end gives no extra entry") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("bare CR ends a line") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("mixed ends") << QByteArray("a\rb\r\nc") << QStringList{"a", "b", "c"};
        QTest::newRow("empty lines give empty entries") << QByteArray("\r\n\r\nx\r\n\r\n") << QStringList{"", "", "x", ""};
        QTest::newRow("only CRs") << QByteArray("\r\r\r") << QStringList{"", "", ""};
        QTest::newRow("lone LF ends a line") << QByteArray("a\nb") << QStringList{"a", "b"};
        QTest::newRow("LF before CR is two ends") << QByteArray("\n\r") << QStringList{"", ""};
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("Windows-1251 text") << QByteArray("C:\\\xc8\xe3\xf0\xfb\r\n \xc8\xe3\xf0\xfb\r\n") << QStringList{QStringLiteral("C:\\Игры"), QStringLiteral(" Игры")};
        // clang-format on
    }

    void lineRule()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, entries);
        QCOMPARE(StoreFile::parse(bytes), entries);
    }

    // Characters Windows-1251 has are its bytes; the others are 0x98 and
    // their UTF-8 bytes. An empty "bytes" means the text is refused.
    void entryCodec_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");

        // clang-format off
        QTest::newRow("ASCII") << u"report.doc"_qs << QByteArray("report.doc");
        QTest::newRow("Cyrillic") << u"Игры"_qs << QByteArray("\xc8\xe3\xf0\xfb");
        QTest::newRow("Ё and ё") << u"Ёё"_qs << QByteArray("\xa8\xb8");
        QTest::newRow("accented Latin") << u"Café"_qs << QByteArray("Caf\x98\xc3\xa9");
        QTest::newRow("Greek") << u"Ελ"_qs << QByteArray("\x98\xce\x95\x98\xce\xbb");
        QTest::newRow("CJK") << u"数据"_qs << QByteArray("\x98\xe6\x95\xb0\x98\xe6\x8d\xae");
        QTest::newRow("emoji outside the BMP") << u"🎵"_qs << QByteArray("\x98\xf0\x9f\x8e\xb5");
        QTest::newRow("U+0098 itself") << u"\u0098"_qs << QByteArray("\x98");
        QTest::newRow("U+0098 twice, then é") << u"\u0098\u0098é"_qs << QByteArray("\x98\x98\x98\xc3\xa9");
        QTest::newRow("a mix in one entry") << u"Мой Müller 数据.txt"_qs << QByteArray("\xcc\xee\xe9 M\x98\xc3\xbcller " "\x98\xe6\x95\xb0\x98\xe6\x8d\xae.txt");
        QTest::newRow("0x98 before the UTF-8 of a letter 1251 has reads literally") << u"\u0098Рђ"_qs << QByteArray("\x98\xd0\x90");
        QTest::newRow("0x98 before an overlong form reads literally") << u"\u0098АЂ"_qs << QByteArray("\x98\xc0\x80");
        QTest::newRow("0x98 before an overlong three-byte form reads literally") << u"\u0098аЂЂ"_qs << QByteArray("\x98\xe0\x80\x80");
        QTest::newRow("0x98 before a cut-off sequence reads literally") << u"x\u0098В"_qs << QByteArray("x\x98\xc2");
        QTest::newRow("refused: U+0098 before letters that spell é") << u"\u0098Г©"_qs << QByteArray();
        QTest::newRow("refused: LF") << u"a\nb"_qs << QByteArray();
        QTest::newRow("refused: CR") << u"a\rb"_qs << QByteArray();
        QTest::newRow("refused: lone surrogate") << QString(QChar(0xD800)) << QByteArray();
        // clang-format on
    }

    void entryCodec()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const std::optional<QByteArray> encoded = StoreCodec::encodeLine(text);
        QCOMPARE(StoreFile::canHold(text), !bytes.isEmpty());
        if (bytes.isEmpty()) {
            QVERIFY(!encoded);
            return;
        }
        QCOMPARE(encoded.value_or("refused"), bytes);
        // Through a whole store: saved, then loaded to the same.
        const QStringList entries{u"1"_qs, text, text};
        QCOMPARE(StoreFile::parse(StoreFile::serialise(entries).value()), entries);
    }

    void everyByteButCrLfSurvivesReadAndWrite()
    {
        QByteArray entry;
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                entry.append(char(b));
        }
        QCOMPARE(entry.size(), 254);
        const QByteArray file = "head\r\n" + entry + "\r\n" + entry.right(7) + "\r\n";

        const QStringList entries = StoreFile::parse(file);
        QCOMPARE(entries.size(), 3);
        QCOMPARE(StoreFile::serialise(entries).value_or("refused"), file);
    }
};

QTEST_GUILESS_MAIN(TestStoreFile)
#include "tst_storefile.moc"
