// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpers/TestFiles.h"
#include "support/FolderExists.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestFolderExists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QDir dir(m_dir.path());
        QVERIFY(dir.mkpath(QStringLiteral("Games/А")));
        QVERIFY(dir.mkdir(QStringLiteral(".hidden")));
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("report.doc")), "x"));
        QVERIFY(writeBytes(dir.filePath(QStringLiteral(".profile")), "x"));
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("Games/Б")), "x"));
    }

    void lookUp_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("fileName");   // look-up of plain files only
        QTest::addColumn<QString>("folderName"); // look-up of files and folders

        QTest::newRow("folder") << "Games" << true << ""
                                << "Games";
        QTest::newRow("catalogue probe") << "Games/А" << true << ""
                                         << "А";
        QTest::newRow("plain file named by a letter") << "Games/Б" << true << "Б"
                                                      << "Б";
        QTest::newRow("plain file") << "report.doc" << true << "report.doc"
                                    << "report.doc";
        QTest::newRow("missing name") << "nothing" << false << ""
                                      << "";
        QTest::newRow("name in a missing folder") << "nothing/А" << false << ""
                                                  << "";
        QTest::newRow("hidden folder") << ".hidden" << false << ""
                                       << "";
        QTest::newRow("hidden file") << ".profile" << false << ""
                                     << "";
        QTest::newRow("file taken as a folder") << "report.doc/А" << false << ""
                                                << "";
    }

    void lookUp()
    {
        QFETCH(QString, relative);
        QFETCH(bool, exists);
        QFETCH(QString, fileName);
        QFETCH(QString, folderName);
        const QString path = m_dir.filePath(relative);
        QCOMPARE(FolderExists(path), exists);
        QCOMPARE(findEntryName(path, false), fileName);
        QCOMPARE(findEntryName(path, true), folderName);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestFolderExists)
#include "tst_folderexists.moc"
