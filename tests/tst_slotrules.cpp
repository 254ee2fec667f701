// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's rules without a window: directory look-ups, captions, the
// catalogue probe, letter folders, spoken names and the files of a drop.
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
        for (const char *folder : {"Games/А", ".hidden", "Plain", "Café 数据/А", "Files"})
            QVERIFY(dir.mkpath(QString::fromUtf8(folder)));
        for (const char *file : {"report.doc", ".profile", "Games/Б", "Files/А"})
            QVERIFY(QFile(dir.filePath(QString::fromUtf8(file))).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("dangling")));
    }

    // What the look-ups find (plain files only, then folders too), the
    // caption a drop of the path gets, and whether it makes a catalogue.
    void lookUp_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("folderName");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("catalogue");
        // clang-format off
        QTest::newRow("catalogue") << "Games" << "" << "Games" << " Games" << true;
        QTest::newRow("named outside Windows-1251") << "Café 数据" << "" << "Café 数据" << " Café 数据" << true;
        QTest::newRow("folder") << "Plain" << "" << "Plain" << " Plain" << false;
        QTest::newRow("a file named А makes a catalogue") << "Files" << "" << "Files" << " Files" << true;
        QTest::newRow("the probe's own folder") << "Games/А" << "" << "А" << " А" << false;
        QTest::newRow("file named by a letter") << "Games/Б" << "Б" << "Б" << "Б" << false;
        QTest::newRow("plain file") << "report.doc" << "report.doc" << "report.doc" << "report.doc" << false;
        QTest::newRow("dangling link is a file") << "dangling" << "dangling" << "dangling" << "dangling" << false;
        QTest::newRow("missing name") << "nothing" << "" << "" << " " << false;
        QTest::newRow("in a missing folder") << "nothing/А" << "" << "" << " " << false;
        QTest::newRow("hidden folder") << ".hidden" << "" << "" << " " << false;
        QTest::newRow("hidden file") << ".profile" << "" << "" << " " << false;
        QTest::newRow("file taken as a folder") << "report.doc/А" << "" << "" << " " << false;
        // clang-format on
    }

    void lookUp()
    {
        QFETCH(QString, relative);
        QFETCH(QString, fileName);
        QFETCH(QString, folderName);
        QFETCH(QString, caption);
        QFETCH(bool, catalogue);
        const QString path = m_dir.filePath(relative);
        QCOMPARE(FolderExists(path), !folderName.isEmpty());
        QCOMPARE(findEntryName(path, false), fileName);
        QCOMPARE(findEntryName(path, true), folderName);
        QCOMPARE(SlotRules::captionOf(path), caption);
        QCOMPARE(SlotRules::isCatalogue(caption, path), catalogue);
        QVERIFY(!SlotRules::isCatalogue(caption.trimmed(), path)); // no mark, no probe
    }

    void letterFolders()
    {
        QCOMPARE(SlotRules::letterFolder("/k", 1), "/k/А");
        QCOMPARE(SlotRules::letterFolder("/k", 9), "/k/И");
        QCOMPARE(SlotRules::letterFolder("/k", 11), "/k/К");
        QCOMPARE(SlotRules::letterFolder("/k/", 32), "/k//Я");
        QCOMPARE(SlotRules::letterFolder("/Café 数据", 3), "/Café 数据/В");
    }

    // A drop's files; a name with no exact text (not UTF-8) is marked "?".
    void droppedFiles_data()
    {
        QTest::addColumn<QByteArray>("uris"); // none: plain text
        QTest::addColumn<QStringList>("files");
        // clang-format off
        QTest::newRow("three files in order, cleaned")
            << QByteArray("file:///a/1.txt\r\nfile:///b/\r\nfile:///c/x%20y.txt")
            << QStringList{"/a/1.txt", "/b", "/c/x y.txt"};
        QTest::newRow("file://localhost/ is this machine") << QByteArray("file://localhost/tmp/b") << QStringList{"/tmp/b"};
        QTest::newRow("another host's file") << QByteArray("file://otherhost/tmp/x") << QStringList();
        QTest::newRow("not UTF-8") << QByteArray("file:///caf%E9") << QStringList{"?/caf\uFFFD"};
        QTest::newRow("UTF-8 name") << QByteArray("file:///Caf%C3%A9") << QStringList{"/Café"};
        QTest::newRow("web link") << QByteArray("https://example.org/") << QStringList();
        QTest::newRow("plain text") << QByteArray() << QStringList();
        // clang-format on
    }

    void droppedFiles()
    {
        QFETCH(QByteArray, uris);
        QFETCH(QStringList, files);
        QMimeData data;
        if (uris.isEmpty())
            data.setText("/etc/hostname");
        else
            data.setData("text/uri-list", uris);
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
        // clang-format off
        QTest::newRow("unassigned") << "1" << "1" << "Пустая кнопка";
        QTest::newRow("cleared") << "1" << " " << "Пустая кнопка";
        QTest::newRow("short store") << "" << "" << "Пустая кнопка";
        QTest::newRow("hidden entry") << "/u/.x" << " " << "Пустая кнопка";
        QTest::newRow("folder") << "/u/Игры" << " Игры" << "Папка Игры";
        QTest::newRow("file") << "/u/a.txt" << "a.txt" << "a.txt";
        QTest::newRow("file named 1") << "/u/1" << "1" << "1";
        // clang-format on
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
