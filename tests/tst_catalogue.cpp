// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/CatalogueLetters.h"
#include "catalogue/LetterRow.h"
#include "catalogue/LetterTile.h"
#include "helpers/PanelFixture.h"
#include "panel/SlotButton.h"
#include "windows/AboutWindow.h"

#include <QMouseEvent>

namespace {

const QString Letters = QStringLiteral("АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЩЭЮЯ");

QStringList catalogueFolders(const QString &path)
{
    QStringList folders{path};
    for (QChar letter : Letters)
        folders.append(path + QLatin1Char('/') + letter);
    return folders;
}

} // namespace

class TestCatalogue : public QObject, private PanelFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startPanelOn(emptyStore()); }

    void lettersAreTheTwentyEightCapitals()
    {
        QString letters;
        for (int code : CatalogueLetters::codes())
            letters += CatalogueLetters::letterForCode(code);
        QCOMPARE(letters, Letters);
    }

    void cancelCreatesNothingAndShowsNoAboutWindow()
    {
        m_form->sozdat_Click();
        QVERIFY(m_desktop->folders.made.isEmpty());
        QVERIFY(m_desktop->messages.texts.isEmpty());
        QCOMPARE(
            m_desktop->saveDialog.asked,
            QStringList{"Создание и сохранение каталога|Введите название папки(Каталога) (*)"});
        // The dialog's owner is the About window, made for it but not shown.
        QCOMPARE(m_desktop->saveDialog.owners.first(), m_form->Form1());
        QVERIFY(!m_form->Form1()->isVisible());
    }

    void confirmedNameBecomesACatalogue()
    {
        const QString path = QStringLiteral("/home/u/Фото.2006");
        m_desktop->saveDialog.answer = path;
        m_form->sozdat_Click();
        QCOMPARE(m_desktop->folders.made, catalogueFolders(path));
        QCOMPARE(m_desktop->messages.titles, QStringList{"Все исполненно"});
        QCOMPARE(m_desktop->messages.texts.first(),
                 QStringLiteral("Вами был создан каталог по адресу\r\n") + path +
                     QStringLiteral("\r\nТеперь перетащите папку какталога на\r\n"
                                    "свободную кнопку программы. При клике\r\n"
                                    "вам откроется алфавитный ряд для быстрого доступа\r\n"
                                    "к подпапкам какталога.  \r\n"));
    }

    // Making stops at the first folder that cannot be made; those made
    // before it stay, and the message says so.
    void folderThatCannotBeMadeIsReported_data()
    {
        QTest::addColumn<int>("refused");
        QTest::addColumn<bool>("partly");
        // clang-format off
        QTest::newRow("the catalogue's own folder") << 0 << false;
        QTest::newRow("the letter К") << 10 << true;
        // clang-format on
    }

    void folderThatCannotBeMadeIsReported()
    {
        QFETCH(int, refused);
        QFETCH(bool, partly);
        const QString path = QStringLiteral("/home/u/Книги");
        const QStringList folders = catalogueFolders(path);
        m_desktop->folders.refused = {folders.at(refused)};
        m_desktop->saveDialog.answer = path;
        m_form->sozdat_Click();
        QCOMPARE(m_desktop->folders.made, folders.mid(0, refused));
        QCOMPARE(m_desktop->messages.titles, QStringList{ShowIconsForm::Title});
        const QString text = m_desktop->messages.texts.first();
        QVERIFY(text.contains(folders.at(refused)) && text.contains("File exists"));
        QCOMPARE(text.contains(QStringLiteral("остались на месте")), partly);
    }

    void tilesOpenTheLetterFoldersOfTheLastCatalogue()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("Arch/А")));
        QStringList entries = emptyStore();
        entries[1] = path("Arch"), entries[13] = " Arch";
        entries[2] = path("Other"), entries[14] = " Other";
        startPanelOn(entries);
        m_form->Command1(1)->click();
        QVERIFY(!m_form->Frame1()->isHidden());
        m_desktop->opener.opened.clear();
        QStringList expected;
        for (int index = 1; index <= 32; ++index) {
            if (LetterTile *tile = m_form->Picture1(index)) {
                QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5),
                                  tile->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::LeftButton,
                                  Qt::NoModifier);
                QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5),
                                    tile->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::NoButton,
                                    Qt::NoModifier);
                QApplication::sendEvent(tile, &press);
                QApplication::sendEvent(tile, &release);
                expected.append(catalogueFolders(entries[1]).at(expected.size() + 1));
            }
        }
        QCOMPARE(m_desktop->opener.opened, expected);
        QVERIFY(!m_form->Frame1()->isHidden()); // a letter does not hide the row
        m_form->Command1_Click(2);              // not a catalogue: the row opens in it now
        m_form->Picture1_Click(11);
        QCOMPARE(m_desktop->opener.opened.last(), entries[2] + QStringLiteral("/К"));
    }
};

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
