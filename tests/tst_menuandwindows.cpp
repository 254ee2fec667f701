// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/LetterRow.h"
#include "catalogue/LetterTile.h"
#include "helpers/Mouse.h"
#include "helpers/PanelFixture.h"
#include "panel/EraserPicture.h"
#include "panel/ShowIconsForm.h"
#include "panel/SlotButton.h"
#include "support/ClickableLabel.h"
#include "support/FontFaces.h"
#include "support/ScreenPlacement.h"
#include "windows/AboutWindow.h"
#include "windows/HelpWindow.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

class TestMenuAndWindows : public QObject, private PanelFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { FontFaces::mapWindowsFaces(); }

    void init()
    {
        startPanel();
        m_form->show();
        for (int k = 1; k <= 12; ++k)
            m_form->Command1(k)->setCaption(QStringLiteral("caption %1").arg(k), QString());
    }

    void hoverTextFollowsThePointer()
    {
        QPlainTextEdit *text = m_form->Text1();
        moveOver(m_form->Command1(3));
        QCOMPARE(text->toPlainText(), QStringLiteral("caption 3"));
        moveOver(m_form->Command1(4));
        QCOMPARE(text->toPlainText(), QStringLiteral("caption 4"));
        moveOver(m_form.get(), QPoint(2, 300));
        QCOMPARE(text->toPlainText(), QString());

        // A locked slot still shows its caption.
        m_form->Command1(6)->setLocked(true);
        moveOver(m_form->Command1(6));
        QCOMPARE(text->toPlainText(), QStringLiteral("caption 6"));

        moveOver(m_form->Command1(5));
        m_form->Frame1()->show();
        moveOver(m_form->Picture1(11));
        moveOver(m_form->Picture3());
        moveOver(text);
        QCOMPARE(text->toPlainText(), QStringLiteral("caption 5"));
    }

    void buttonPresses_data()
    {
        QTest::addColumn<bool>("onSlot");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("menu");
        QTest::addColumn<bool>("locked");

        QTest::newRow("right button on a slot") << true << int(Qt::RightButton) << true << false;
        QTest::newRow("right button on a locked slot")
            << true << int(Qt::RightButton) << true << true;
        QTest::newRow("right button on the surface")
            << false << int(Qt::RightButton) << true << false;
        QTest::newRow("middle button on a slot") << true << int(Qt::MiddleButton) << false << false;
        QTest::newRow("left button on a locked slot")
            << true << int(Qt::LeftButton) << false << true;
        QTest::newRow("middle button on the surface")
            << false << int(Qt::MiddleButton) << false << false;
    }

    void buttonPresses()
    {
        QFETCH(bool, onSlot);
        QFETCH(int, button);
        QFETCH(bool, menu);
        QFETCH(bool, locked);
        m_form->Command1(2)->setLocked(locked);
        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            if (QWidget *popup = QApplication::activePopupWidget()) {
                for (QAction *action : popup->actions())
                    shown.append(action->text());
                popup->close();
            }
        });
        QWidget *target = onSlot ? static_cast<QWidget *>(m_form->Command1(2)) : m_form.get();
        press(target, Qt::MouseButton(button), onSlot ? QPoint(5, 5) : QPoint(2, 300));
        QTest::qWait(50);

        const QStringList items = {"Создать каталог папок", "Справка", "О программе"};
        QCOMPARE(shown, menu ? items : QStringList());
        QVERIFY(m_desktop->opener.opened.isEmpty());
        QVERIFY(m_desktop->pause.waits.isEmpty());
    }

    void menuFromTheKeyboard_data()
    {
        QTest::addColumn<bool>("onSlot");
        QTest::addColumn<bool>("menuKey");
        QTest::newRow("Menu key on a slot") << true << true;
        QTest::newRow("Shift+F10 on a slot") << true << false;
        QTest::newRow("Menu key on the hover text") << false << true;
        QTest::newRow("Shift+F10 on the hover text") << false << false;
    }

    void menuFromTheKeyboard()
    {
        QFETCH(bool, onSlot);
        QFETCH(bool, menuKey);
        QWidget *focus = onSlot ? static_cast<QWidget *>(m_form->Command1(4)) : m_form->Text1();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        focus->setFocus();
        QRect shownAt;
        QTimer::singleShot(0, this, [&] {
            if (QWidget *popup = QApplication::activePopupWidget()) {
                shownAt = popup->geometry();
                popup->close();
            }
        });
        if (menuKey) {
            const QPoint at = focus->rect().center();
            QContextMenuEvent event(QContextMenuEvent::Keyboard, at, focus->mapToGlobal(at));
            QApplication::sendEvent(focus, &event);
        } else {
            QTest::keyClick(focus, Qt::Key_F10, Qt::ShiftModifier);
        }
        // At the focused widget (moved aside only as far as the screen needs).
        const QPoint at = focus->mapToGlobal(focus->rect().center());
        QCOMPARE(shownAt.top(), at.y());
        QVERIFY(shownAt.adjusted(-1, 0, 1, 0).contains(at));
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("client");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("placed");
        const QRect panel(683, 127, 81, 523);
        QTest::newRow("fits: stays") << panel << QRect(0, 0, 1024, 768) << QPoint(683, 127);
        QTest::newRow("1024 x 600: up by the least")
            << panel << QRect(0, 0, 1024, 600) << QPoint(683, 76);
        QTest::newRow("below a top bar") << panel << QRect(0, 30, 1024, 570) << QPoint(683, 76);
        QTest::newRow("narrow screen: left by the least")
            << panel << QRect(0, 0, 640, 768) << QPoint(558, 127);
        QTest::newRow("taller than the screen: top edge shows")
            << QRect(683, 127, 81, 1046) << QRect(0, 0, 1024, 768) << QPoint(683, 20);
        QTest::newRow("left of the screen")
            << QRect(-50, 127, 81, 523) << QRect(0, 0, 1024, 768) << QPoint(1, 127);
    }

    void placement()
    {
        QFETCH(QRect, client);
        QFETCH(QRect, available);
        QFETCH(QPoint, placed);
        const QRect fitted = ScreenPlacement::fit(client, QMargins(1, 20, 1, 1), available);
        QCOMPARE(fitted.topLeft(), placed);
        QCOMPARE(fitted.size(), client.size());
    }

    void windowsExistOnceEach()
    {
        QVERIFY(!m_form->Form1() && !m_form->help());
        m_form->prog_Click();
        AboutWindow *about = m_form->Form1();
        m_form->prog_Click();
        QCOMPARE(m_form->Form1(), about);
        QVERIFY(about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("О проге"));

        m_form->spr_Click();
        HelpWindow *help = m_form->help();
        help->close();
        m_form->spr_Click();
        QCOMPARE(m_form->help(), help);
        QVERIFY(help->isVisible());
        QCOMPARE(help->windowTitle(), QStringLiteral("Справка"));
        // An ordinary window (no utility window a window manager may hide).
        QCOMPARE(help->windowType(), Qt::Window);
    }

    void aboutLinkOpensExactlyItsText()
    {
        m_form->prog_Click();
        AboutWindow *about = m_form->Form1();
        press(about->Label1(), Qt::LeftButton);
        press(about->Label2(), Qt::LeftButton);
        press(about, Qt::LeftButton, QPoint(2, 130));
        QVERIFY(m_desktop->opener.opened.isEmpty());
        press(about->Label3(), Qt::LeftButton);
        press(about->Label3(), Qt::LeftButton);
        QCOMPARE(m_desktop->opener.opened, QStringList(2, about->Label3()->text()));
        QVERIFY(about->Label3()->text().startsWith(QStringLiteral("http://")));
        QCOMPARE(about->Label3()->cursor().shape(), Qt::SizeAllCursor);
        // The address fits its fixed box in the face that stands in.
        QLabel *link = about->Label3();
        QVERIFY(link->fontMetrics().horizontalAdvance(link->text()) <= link->width());
    }

    void aboutTextsInTheButtonTextColour()
    {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::ButtonText, Qt::red);
        QApplication::setPalette(palette);
        AboutWindow about(m_desktop->opener);
        QApplication::setPalette(QPalette());
        for (QLabel *label : {about.Label1(), about.Label2()}) {
            const QImage face = label->grab().toImage();
            bool red = false;
            for (int y = 0; y < face.height() && !red; ++y) {
                for (int x = 0; x < face.width() && !red; ++x) {
                    const QColor c = face.pixelColor(x, y);
                    red = c.red() > 200 && c.green() < 60 && c.blue() < 60;
                }
            }
            QVERIFY2(red, qPrintable(label->text()));
        }
    }

    void helpTextKeepsItsElevenLines()
    {
        const QStringList lines = HelpWindow::Text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 12); // the last line break leaves an empty twelfth
        QVERIFY(lines.last().isEmpty());
        QCOMPARE(lines.at(4), QStringLiteral("файлы. "));
        QCOMPARE(lines.at(8), QStringLiteral("папку на \"букву\". При отсутствии каталога будут"));
        QCOMPARE(lines.at(9), QStringLiteral("открываться сами папки или запускаться "));

        m_form->spr_Click();
        QLabel *label = m_form->help()->Label1();
        QVERIFY(!label->wordWrap());
        const int lineHeight = label->fontMetrics().lineSpacing();
        QVERIFY(label->height() >= 11 * lineHeight && label->height() < 13 * lineHeight + 4);
        QCOMPARE(m_form->help()->Image1()->size(), QSize(291, 175));
    }
};

QTEST_MAIN(TestMenuAndWindows)
#include "tst_menuandwindows.moc"
