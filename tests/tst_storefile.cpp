// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpers/TestFiles.h"
#include "helpers/Unprivileged.h"
#include "panel/StoreFile.h"

#include <QTemporaryDir>
#include <QTest>

class TestStoreFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultStoreIs51BytesOf25Placeholders()
    {
        const QByteArray bytes = StoreFile::defaultContent();
        QCOMPARE(bytes.size(), 51);
        QVERIFY(bytes.startsWith("1\r1\r"));
        QVERIFY(bytes.endsWith("1\r1\r\n"));
        QCOMPARE(bytes.count("\r\n"), 1);
        QCOMPARE(StoreFile::parse(bytes), QStringList(25, QStringLiteral("1")));
    }

    void lineRule_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("entries");

        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("last line without an end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("CR LF at the end gives no extra entry")
            << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("bare CR ends a line") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("mixed ends") << QByteArray("a\rb\r\nc") << QStringList{"a", "b", "c"};
        QTest::newRow("empty lines give empty entries")
            << QByteArray("\r\n\r\nx\r\n\r\n") << QStringList{"", "", "x", ""};
        QTest::newRow("only CRs") << QByteArray("\r\r\r") << QStringList{"", "", ""};
        QTest::newRow("lone LF ends a line") << QByteArray("a\nb") << QStringList{"a", "b"};
        QTest::newRow("LF before CR is two ends") << QByteArray("\n\r") << QStringList{"", ""};
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("Windows-1251 text")
            << QByteArray("C:\\\xc8\xe3\xf0\xfb\r\n \xc8\xe3\xf0\xfb\r\n")
            << QStringList{QStringLiteral("C:\\Игры"), QStringLiteral(" Игры")};
    }

    void lineRule()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, entries);
        QCOMPARE(StoreFile::parse(bytes), entries);
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
        QByteArray written;
        QVERIFY(StoreFile::serialise(entries, &written, QStringLiteral("knw.dll")).ok());
        QCOMPARE(written, file);
    }
};

QTEST_GUILESS_MAIN(TestStoreFile)
#include "tst_storefile.moc"
