// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpers/TestFiles.h"
#include "panel/DroppedFiles.h"
#include "panel/SlotRules.h"
#include "support/FolderExists.h"

#include <QDir>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

class TestSlotRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QDir dir(m_dir.path());
        QVERIFY(dir.mkpath(QStringLiteral("Games/А")));
        QVERIFY(dir.mkdir(QStringLiteral(".hidden")));
        QVERIFY(dir.mkdir(QStringLiteral("Plain")));
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("report.doc")), "x"));
        QVERIFY(writeBytes(dir.filePath(QStringLiteral(".profile")), "x"));
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("Games/Б")), "x"));
        QVERIFY(dir.mkpath(QStringLiteral("Café 数据/А")));
        QVERIFY(dir.mkpath(QStringLiteral("Files")));
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("Files/А")), "x"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")), dir.filePath("dangling")));
    }

    // What the directory look-ups find, the caption a drop of the path gets,
    // and whether a slot with that caption is a catalogue.
    void lookUp_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("fileName");   // look-up of plain files only
        QTest::addColumn<QString>("folderName"); // look-up of files and folders
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("catalogue");

        QTest::newRow("catalogue") << "Games" << true << ""
                                   << "Games"
                                   << " Games" << true;
        QTest::newRow("catalogue named outside Windows-1251") << "Café 数据" << true << ""
                                                              << "Café 数据"
                                                              << " Café 数据" << true;
        QTest::newRow("folder") << "Plain" << true << ""
                                << "Plain"
                                << " Plain" << false;
        QTest::newRow("a file named А makes a catalogue") << "Files" << true << ""
                                                          << "Files"
                                                          << " Files" << true;
        QTest::newRow("catalogue probe") << "Games/А" << true << ""
                                         << "А"
                                         << " А" << false;
        QTest::newRow("plain file named by a letter") << "Games/Б" << true << "Б"
                                                      << "Б"
                                                      << "Б" << false;
        QTest::newRow("plain file") << "report.doc" << true << "report.doc"
                                    << "report.doc"
                                    << "report.doc" << false;
        QTest::newRow("dangling link is a file") << "dangling" << true << "dangling"
                                                 << "dangling"
                                                 << "dangling" << false;
        QTest::newRow("missing name") << "nothing" << false << ""
                                      << ""
                                      << " " << false;
        QTest::newRow("name in a missing folder") << "nothing/А" << false << ""
                                                  << ""
                                                  << " " << false;
        QTest::newRow("hidden folder") << ".hidden" << false << ""
                                       << ""
                                       << " " << false;
        QTest::newRow("hidden file") << ".profile" << false << ""
                                     << ""
                                     << " " << false;
        QTest::newRow("file taken as a folder") << "report.doc/А" << false << ""
                                                << ""
                                                << " " << false;
    }

    void lookUp()
    {
        QFETCH(QString, relative);
        QFETCH(bool, exists);
        QFETCH(QString, fileName);
        QFETCH(QString, folderName);
        QFETCH(QString, caption);
        QFETCH(bool, catalogue);
        const QString path = m_dir.filePath(relative);
        QCOMPARE(FolderExists(path), exists);
        QCOMPARE(findEntryName(path, false), fileName);
        QCOMPARE(findEntryName(path, true), folderName);
        QCOMPARE(SlotRules::captionOf(path), caption);
        QCOMPARE(SlotRules::isCatalogue(caption, path), catalogue);
        // Without the folder mark nothing is probed.
        QVERIFY(!SlotRules::isCatalogue(caption.trimmed(), path));
    }

    void letterFolders()
    {
        QCOMPARE(SlotRules::letterFolder(QStringLiteral("/k"), 1), QStringLiteral("/k/А"));
        QCOMPARE(SlotRules::letterFolder(QStringLiteral("/k"), 9), QStringLiteral("/k/И"));
        QCOMPARE(SlotRules::letterFolder(QStringLiteral("/k"), 11), QStringLiteral("/k/К"));
        QCOMPARE(SlotRules::letterFolder(QStringLiteral("/k/"), 32), QStringLiteral("/k//Я"));
        QCOMPARE(SlotRules::letterFolder(QStringLiteral("/Café 数据"), 3),
                 QStringLiteral("/Café 数据/В"));
    }

    // What a drop from another program offers, as the slots' file list; a
    // name with no exact text (not UTF-8) is marked "?".
    void droppedFiles_data()
    {
        QTest::addColumn<QByteArray>("uris"); // none: plain text
        QTest::addColumn<QStringList>("files");
        QTest::newRow("three files in order, cleaned")
            << QByteArray("file:///a/1.txt\r\nfile:///b/\r\nfile:///c/x%20y.txt")
            << QStringList{"/a/1.txt", "/b", "/c/x y.txt"};
        QTest::newRow("file://localhost/ is this machine")
            << QByteArray("file://localhost/tmp/b.txt") << QStringList{"/tmp/b.txt"};
        QTest::newRow("another host's file")
            << QByteArray("file://otherhost/tmp/x") << QStringList();
        QTest::newRow("not UTF-8") << QByteArray("file:///caf%E9") << QStringList{"?/caf\uFFFD"};
        QTest::newRow("UTF-8 name") << QByteArray("file:///Caf%C3%A9") << QStringList{"/Café"};
        QTest::newRow("web link") << QByteArray("https://example.org/") << QStringList();
        QTest::newRow("plain text") << QByteArray() << QStringList();
    }

    void droppedFiles()
    {
        QFETCH(QByteArray, uris);
        QFETCH(QStringList, files);
        QMimeData data;
        data.setData(uris.isEmpty() ? "text/plain" : "text/uri-list",
                     uris.isEmpty() ? "/etc/hostname" : uris);
        QStringList got;
        for (const DroppedFile &file : ::droppedFiles(&data))
            got.append((file.exact ? "" : "?") + file.path);
        QCOMPARE(got, files);
    }

    void spokenNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("unassigned") << "1"
                                    << "1"
                                    << "Пустая кнопка";
        QTest::newRow("cleared") << "1"
                                 << " "
                                 << "Пустая кнопка";
        QTest::newRow("short store") << ""
                                     << ""
                                     << "Пустая кнопка";
        QTest::newRow("hidden entry") << "/home/u/.x"
                                      << " "
                                      << "Пустая кнопка";
        QTest::newRow("folder") << "/home/u/Игры"
                                << " Игры"
                                << "Папка Игры";
        QTest::newRow("file") << "/home/u/a.txt"
                              << "a.txt"
                              << "a.txt";
        QTest::newRow("file named 1") << "/home/u/1"
                                      << "1"
                                      << "1";
    }

    void spokenNames()
    {
        QFETCH(QString, path);
        QFETCH(QString, caption);
        QFETCH(QString, spoken);
        QCOMPARE(SlotRules::spokenName(path, caption), spoken);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestSlotRules)
#include "tst_slotrules.moc"
