// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's rules without a window: directory look-ups, captions, the
// catalogue probe, spoken names and the files of a drop.
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
        for (const char *file : {"report.doc", ".profile", "Games/Б", "Files/А", "1"})
            QVERIFY(QFile(dir.filePath(QString::fromUtf8(file))).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("dangling")));
    }

    // What the look-ups find (plain files only, then folders too), the
    // caption a drop of the path gets, whether it makes a catalogue, and what
    // a screen reader says of its slot.
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
        QTest::newRow("missing name") << "nothing" << "" << "" << " " << false << "Пустая кнопка";
        QTest::newRow("in a missing folder") << "nothing/А" << "" << "" << " " << false << "Пустая кнопка";
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
        QCOMPARE(FolderExists(path), !folderName.isEmpty());
        QCOMPARE(findEntryName(path, false), fileName);
        QCOMPARE(findEntryName(path, true), folderName);
        QCOMPARE(SlotRules::captionOf(path), caption);
        QCOMPARE(SlotRules::isCatalogue(caption, path), catalogue);
        QVERIFY(!SlotRules::isCatalogue(caption.trimmed(), path)); // no mark, no probe
        QCOMPARE(SlotRules::spokenName(path, caption), spoken);
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

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestSlotRules)
#include "tst_slotrules.moc"
