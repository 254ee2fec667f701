// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/CatalogueFolders.h"
#include "catalogue/CatalogueLetters.h"
#include "catalogue/LetterRow.h"
#include "catalogue/LetterTile.h"
#include "helpers/Mouse.h"
#include "helpers/PanelFixture.h"
#include "helpers/TestFiles.h"
#include "panel/ShowIconsForm.h"
#include "panel/SlotButton.h"
#include "panel/StoreFile.h"
#include "windows/AboutWindow.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString Letters = QStringLiteral("АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЩЭЮЯ");

} // namespace

class TestCatalogue : public QObject, private PanelFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        startPanel();
    }

    void lettersAreTheTwentyEightCapitals()
    {
        QString letters;
        for (int code : CatalogueLetters::codes())
            letters += CatalogueLetters::letterForCode(code);
        QCOMPARE(letters, Letters);
    }

    void cancelCreatesNothingAndShowsNoAboutWindow()
    {
        const QStringList before = QDir(m_dir.path()).entryList();
        m_form->sozdat_Click();

        QCOMPARE(QDir(m_dir.path()).entryList(), before);
        QVERIFY(m_desktop->messages.texts.isEmpty());
        QCOMPARE(m_desktop->saveDialog.titles, QStringList{"Создание и сохранение каталога"});
        QCOMPARE(m_desktop->saveDialog.filters,
                 QStringList{"Введите название папки(Каталога) (*)"});
        // The dialog's owner is the About window, made for it but not shown.
        QCOMPARE(m_desktop->saveDialog.owners.first(), m_form->Form1());
        QVERIFY(!m_form->Form1()->isVisible());
        m_form->prog_Click();
        QVERIFY(m_form->Form1()->isVisible());
    }

    void confirmedNameBecomesACatalogue_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain name") << QStringLiteral("Мои книги");
        QTest::newRow("dotted name kept as typed") << QStringLiteral("Фото.2006");
    }

    void confirmedNameBecomesACatalogue()
    {
        QFETCH(QString, name);
        const QString path = m_dir.filePath(name);
        m_desktop->saveDialog.answer = path;
        m_form->sozdat_Click();

        QDir catalogue(path);
        QVERIFY(catalogue.exists());
        QCOMPARE(catalogue.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 28);
        for (QChar letter : Letters)
            QVERIFY2(catalogue.exists(QString(letter)), qPrintable(QString(letter)));
        QCOMPARE(m_desktop->messages.titles, QStringList{"Все исполненно"});
        QCOMPARE(m_desktop->messages.texts.first(),
                 QStringLiteral("Вами был создан каталог по адресу\r\n") + path +
                     QStringLiteral("\r\nТеперь перетащите папку какталога на\r\n"
                                    "свободную кнопку программы. При клике\r\n"
                                    "вам откроется алфавитный ряд для быстрого доступа\r\n"
                                    "к подпапкам какталога.  \r\n"));
    }

    void nameThatCannotBeMadeIsReported_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("an existing file") << QStringLiteral("taken.txt");
        QTest::newRow("an existing folder") << QStringLiteral("taken");
        QTest::newRow("in a missing folder") << QStringLiteral("missing/Книги");
    }

    void nameThatCannotBeMadeIsReported()
    {
        QFETCH(QString, relative);
        QVERIFY(writeBytes(m_dir.filePath(QStringLiteral("taken.txt")), "x"));
        QDir(m_dir.path()).mkpath(QStringLiteral("taken"));
        const QString path = m_dir.filePath(relative);
        m_desktop->saveDialog.answer = path;
        m_form->sozdat_Click();

        QVERIFY(!QFileInfo::exists(path + QStringLiteral("/А")));
        QCOMPARE(m_desktop->messages.texts.size(), 1);
        QCOMPARE(m_desktop->messages.titles.first(), ShowIconsForm::Title);
        QVERIFY(m_desktop->messages.texts.first().contains(path));
    }

    void tilesOpenTheLetterFoldersOfTheLastCatalogue()
    {
        QVERIFY(CatalogueFolders::create(m_dir.filePath(QStringLiteral("Arch"))) == std::nullopt);
        QStringList entries(25, QStringLiteral("1"));
        entries[1] = m_dir.filePath(QStringLiteral("Arch"));
        entries[13] = QStringLiteral(" Arch");
        entries[2] = m_dir.filePath(QStringLiteral("Other"));
        entries[14] = QStringLiteral(" Other");
        QByteArray bytes;
        QVERIFY(StoreFile::serialise(entries, &bytes, QString()).ok());
        QVERIFY(writeBytes(storePath(), bytes));
        startPanel();

        m_form->Command1(1)->click();
        QVERIFY(!m_form->Frame1()->isHidden());
        m_desktop->opener.opened.clear();
        QStringList expected;
        int n = 0;
        for (int index = 1; index <= 32; ++index) {
            if (!m_form->Picture1(index))
                continue;
            press(m_form->Picture1(index), Qt::LeftButton);
            expected.append(entries[1] + QLatin1Char('/') + Letters.at(n++));
        }
        QCOMPARE(n, 28);
        QCOMPARE(m_desktop->opener.opened, expected);
        QVERIFY(!m_form->Frame1()->isHidden());

        // The row opens in whatever catalogue was clicked last.
        m_form->Picture1_Click(11);
        QCOMPARE(m_desktop->opener.opened.last(), entries[1] + QStringLiteral("/К"));
        m_form->Command1_Click(2); // not a catalogue: opened, and the row hidden
        m_form->Picture1_Click(11);
        QCOMPARE(m_desktop->opener.opened.last(), entries[2] + QStringLiteral("/К"));
    }
};

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
