// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's windows and what the keyboard and screen readers meet: About
// and Help, the tab order, spoken names, the letter row.
#include "catalogue/LetterRow.h"
#include "catalogue/LetterTile.h"
#include "helpers/PanelFixture.h"
#include "images/Pictures.h"
#include "panel/EraserPicture.h"
#include "panel/SlotButton.h"
#include "support/look/FontFaces.h"
#include "support/widgets/ClickableLabel.h"
#include "windows/AboutWindow.h"
#include "windows/FixedWindow.h"
#include "windows/HelpWindow.h"

#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>

class TestPanelWindows : public PanelFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        FontFaces::mapWindowsFaces();
        QVERIFY(makeTargets(m_dir.path()));
    }
    void init() { startEmpty(); }

    // Each made once and shown above the panel; the catalogue's save dialog
    // is owned by an About window made for it and not shown.
    void aboutAndHelp()
    {
        const QPalette theme = QApplication::palette();
        QPalette dark = theme; // a dark theme's light text
        for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            dark.setColor(role, QColor(0xee, 0xee, 0xee));
        QApplication::setPalette(dark);
        m_form->createCatalogue();
        QVERIFY(m_desktop->saveDialog.owners == QList<QWidget *>{m_form->about()} &&
                !m_form->about()->isVisible());
        m_form->showAbout();
        AboutWindow *about = m_form->about();
        m_form->showAbout();
        m_form->showHelp();
        HelpWindow *help = m_form->help();
        m_form->showHelp();
        QVERIFY(m_form->about() == about && m_form->help() == help);
        for (QLabel *text : {about->authors(), about->siteCaption()}) // black on the fixed grey
            QCOMPARE(text->palette().color(text->foregroundRole()), QColor(Qt::black));
        QApplication::setPalette(theme);
        QVERIFY(about->isVisible() && help->isVisible());
        for (QWidget *window : QList<QWidget *>{help, about}) { // Escape closes each
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            QTest::keyClick(window, Qt::Key_Escape);
            QVERIFY(!window->isVisible());
            window->show();
        }
        QCOMPARE(help->windowType(), Qt::Window);           // not a utility window one may hide
        QCOMPARE(help->helpText()->text().count('\n'), 11); // eleven lines and an empty twelfth
        QVERIFY(!help->helpText()->text().contains('\r'));
        for (QWidget *window : QList<QWidget *>{m_form.get(), help, about}) { // above the rest
            QCOMPARE(window->windowFlags() & ~Qt::WindowSystemMenuHint,
                     FixedWindow::flags(FixedWindow::TitleBar::CloseBox, true));
            QCOMPARE(window->windowIcon().pixmap(16).toImage(),
                     Pictures::windowIcon().pixmap(16).toImage()); // the alphabet blocks
        }
        for (QWidget *dead : QList<QWidget *>{about->authors(), about})
            press(dead, Qt::LeftButton, {2, 2});
        QVERIFY(m_desktop->opener.opened.isEmpty());
        press(about->siteLink(), Qt::LeftButton);
        press(about->siteLink(), Qt::LeftButton);
        QCOMPARE(m_desktop->opener.opened, QStringList(2, about->siteLink()->text()));
        // The address fits its fixed box in the face that stands in.
        const QLabel *link = about->siteLink();
        QCOMPARE(link->geometry(), QRect(126, 80, 183, 19));
        QVERIFY(link->fontMetrics().horizontalAdvance(link->text()) <= link->width());
    }

    // Tab runs down the slots, through the letter row after slot 10 while it
    // shows; screen readers hear what a slot holds.
    void keyboardAndScreenReaders()
    {
        showPanel();
        const auto tabFrom = [](QWidget *widget) {
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_Tab);
            return QApplication::focusWidget();
        };
        m_form->letterRow()->show();
        const QList<LetterTile *> tiles = m_form->letterRow()->tiles();
        QCOMPARE(tabFrom(m_form->slotButton(10)), tiles.first());
        QCOMPARE(tabFrom(tiles.last()), m_form->slotButton(11));
        m_form->letterRow()->hide();
        QCOMPARE(tabFrom(m_form->slotButton(10)), m_form->slotButton(11));

        m_form->dropFiles(4, {{path("Games"), true}});
        const auto said = [](QWidget *widget) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(widget);
            return QString::number(a->role()) + ' ' + a->text(QAccessible::Name);
        };
        const QString button = QString::number(QAccessible::Button) + ' ';
        QCOMPARE(said(m_form->slotButton(3)), button + "Пустая кнопка");
        QCOMPARE(said(m_form->slotButton(4)), button + "Папка Games");
        m_form->controlDropped(5, m_form->eraser()); // cleared: " "
        for (int k : {3, 5}) {
            const QString more = QAccessible::queryAccessibleInterface(m_form->slotButton(k))
                                     ->text(QAccessible::Description);
            QVERIFY2(more.trimmed().size() > 1, qPrintable(more));
        }
        // The letters in the order they stand; the pictures outside the
        // window not there to be read.
        QAccessibleInterface *row = QAccessible::queryAccessibleInterface(m_form->letterRow());
        QCOMPARE(row->child(0)->text(QAccessible::Name), "А");
        QCOMPARE(row->child(row->childCount() - 1)->text(QAccessible::Name), "Я");
        QVERIFY(QAccessible::queryAccessibleInterface(m_form->dragPicture())->state().invisible);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(m_form->hoverText())->text(QAccessible::Name),
            "Подпись кнопки под указателем");
    }

    // Each tile, drawn once the row shows, opens its letter's folder of the
    // catalogue clicked last, and leaves the row shown.
    void letterTiles()
    {
        QStringList entries = emptyStore();
        entries[1] = path("Arch"), entries[13] = " Arch";
        entries[2] = path("Other"), entries[14] = " Other";
        startOn(entries);
        showPanel(); // the tiles are drawn as the row first shows, not before
        QVERIFY(m_form->letterTile(1)->picture().isNull());
        m_form->slotButton(1)->click();
        QVERIFY(!m_form->letterTile(32)->picture().isNull());
        m_desktop->opener.opened.clear();
        for (LetterTile *tile : m_form->letterRow()->tiles())
            press(tile, Qt::LeftButton);
        QCOMPARE(m_desktop->opener.opened, catalogueFolders(entries[1]).mid(1));
        QVERIFY(!m_form->letterRow()->isHidden());
        // Where А and Б overlap, А is on top, for the pointer too.
        QCOMPARE(m_form->letterRow()->childAt(5, 21), m_form->letterTile(1));
        m_form->openSlot(2); // not a catalogue: the row opens in it now
        m_form->openLetter(11);
        QCOMPARE(m_desktop->opener.opened.last(), entries[2] + "/К");
        QTest::keyClick(m_form->letterTile(32), Qt::Key_Space); // from the keyboard too
        QCOMPARE(m_desktop->opener.opened.last(), entries[2] + "/Я");
        const qsizetype opens = m_desktop->opener.opened.size();
        for (bool repeat : {false, true, true}) { // Enter held
            QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, {}, repeat);
            QApplication::sendEvent(m_form->letterTile(1), &held);
        }
        QCOMPARE(m_desktop->opener.opened.mid(opens), QStringList{entries[2] + "/А"});
    }
};

QTEST_MAIN(TestPanelWindows)
#include "tst_panelwindows.moc"
