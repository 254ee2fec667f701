// SPDX-License-Identifier: GPL-3.0-or-later
// The panel on a fake desktop and a store in memory: start-up, drops, the
// eraser, clicks and the lock, the mouse, the keyboard, the menu and the
// windows it opens.
#include "catalogue/LetterRow.h"
#include "catalogue/LetterTile.h"
#include "helpers/PanelFixture.h"
#include "images/Pictures.h"
#include "panel/EraserPicture.h"
#include "panel/SlotButton.h"
#include "support/ClickableLabel.h"
#include "support/FontFaces.h"
#include "support/ScreenPlacement.h"
#include "windows/AboutWindow.h"
#include "windows/HelpWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>

namespace {

// Mouse events as the window system delivers them, propagation included.
void sendMouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButton button)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), button,
                      type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
void moveOver(QWidget *widget, QPoint at = QPoint(5, 5))
{
    sendMouse(widget, QEvent::MouseMove, at, Qt::NoButton);
}
void press(QWidget *widget, Qt::MouseButton button, QPoint at = QPoint(5, 5))
{
    sendMouse(widget, QEvent::MouseButtonPress, at, button);
    sendMouse(widget, QEvent::MouseButtonRelease, at, button);
}

struct MenuSeen
{
    QStringList items;
    QRect geometry;
};

// The popup menu that comes up next, which is then closed.
std::shared_ptr<MenuSeen> watchForMenu(QObject *context)
{
    auto seen = std::make_shared<MenuSeen>();
    QTimer::singleShot(0, context, [seen] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            for (QAction *action : popup->actions())
                seen->items.append(action->text());
            seen->geometry = popup->geometry();
            popup->close();
        }
    });
    return seen;
}

const QStringList MenuItems = {"Создать каталог папок", "Справка", "О программе"};

} // namespace

class TestPanel : public QObject, private PanelFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        FontFaces::mapWindowsFaces();
        QDir dir(m_dir.path());
        for (const char *folder : {"Games", "Arch/А", "数据"})
            QVERIFY(dir.mkpath(QString::fromUtf8(folder)));
        for (const char *file : {"report.doc", "a.txt", ".profile", "Café résumé.pdf",
                                 "🎵 playlist.m3u", "<i>x.txt", "a<br>b.txt"})
            QVERIFY(QFile(path(QString::fromUtf8(file))).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(path("nowhere"), path("dangling")));
    }

    void init()
    {
        m_store = MemoryStore();
        startPanelOn(emptyStore());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    // What each slot shows after start-up; every slot starts plain, with no
    // letter row and no hover text.
    void startUpShowsTheStore_data()
    {
        QTest::addColumn<QStringList>("entries"); // empty: no store yet
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("picture");

        QStringList targets = emptyStore();
        targets[3] = path("Games"), targets[15] = " Games";
        targets[4] = path("deleted.txt"), targets[16] = "deleted.txt";
        QStringList thirty(30, "1");
        for (int i = 13; i < 30; ++i)
            thirty[i] = QStringLiteral("caption %1").arg(i);
        const QStringList shortStore{"1", m_dir.path()};
        QTest::newRow("new store: slot 1") << QStringList() << 1 << "1" << false;
        QTest::newRow("new store: slot 12") << QStringList() << 12 << "1" << false;
        QTest::newRow("a folder that exists") << targets << 3 << " Games" << true;
        QTest::newRow("a file that is gone") << targets << 4 << "deleted.txt" << false;
        QTest::newRow("30 entries: slot 1 is entry 13") << thirty << 1 << "caption 13" << false;
        QTest::newRow("30 entries: slot 12 is entry 24") << thirty << 12 << "caption 24" << false;
        QTest::newRow("short store: slot 1") << shortStore << 1 << "" << true;
        QTest::newRow("short store: slot 12") << shortStore << 12 << "" << false;
    }

    void startUpShowsTheStore()
    {
        QFETCH(QStringList, entries);
        QFETCH(int, slot);
        QFETCH(QString, caption);
        QFETCH(bool, picture);
        m_store = MemoryStore();
        if (entries.isEmpty())
            startPanel();
        else
            startPanelOn(entries);
        if (entries.isEmpty())
            QCOMPARE(m_store.bytes.value(), StoreFile::defaultContent(25));
        QCOMPARE(m_form->List1().entries(), entries.isEmpty() ? emptyStore() : entries);
        QCOMPARE(m_form->Command1(slot)->caption(), caption);
        QCOMPARE(m_form->Command1(slot)->toolTip(), caption);
        QCOMPARE(!m_form->Command1(slot)->picture().isNull(), picture);
        for (int k = 1; k <= 12; ++k)
            QCOMPARE(m_form->Command1(k)->backColor().rgb(), 0xFFFFFFC0u);
        QVERIFY(m_form->Frame1()->isHidden());
        QVERIFY(m_form->Text1()->toPlainText().isEmpty());
        QVERIFY(m_desktop->messages.texts.isEmpty());
    }

    void storeThatCannotBeMadeOrReadIsReported_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("told");
        QTest::newRow("cannot be created") << false << "создать";
        QTest::newRow("cannot be read") << true << "перезапустите";
    }

    // The panel opens all the same; while an unread store stands, no change
    // is shown, and the refusal is explained once.
    void storeThatCannotBeMadeOrReadIsReported()
    {
        QFETCH(bool, exists);
        QFETCH(QString, told);
        m_store = MemoryStore();
        if (exists)
            m_store.bytes = QByteArray("1\r\n"), m_store.readFailure = "Permission denied";
        else
            m_store.writeFailure = QStringLiteral("Read-only file system");
        startPanel();
        QCOMPARE(m_desktop->messages.titles, QStringList{"КаталогOrlanta"});
        QVERIFY(m_desktop->messages.texts.first().contains(m_store.path()));
        QVERIFY(m_desktop->messages.texts.first().contains(told));
        QCOMPARE(m_form->List1().count(), 0);

        const QList<DroppedFile> drop{{path("a.txt"), true}};
        m_form->Command1_OLEDragDrop(2, drop);
        m_form->Command1_OLEDragDrop(3, drop);
        m_form->Command1_DragDrop(4, m_form->Picture3());
        QCOMPARE(m_desktop->messages.texts.size(), exists ? 2 : 4);
        for (int k : {2, 3, 4}) {
            QVERIFY(m_form->Command1(k)->caption().isEmpty());
            QVERIFY(m_form->Command1(k)->picture().isNull());
        }
        QCOMPARE(m_store.writes, 0);
    }

    void dropAssignsTheLastFile_data()
    {
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("picture");

        QTest::newRow("file") << QStringList{"report.doc"} << "report.doc" << true;
        QTest::newRow("folder") << QStringList{"Games"} << " Games" << true;
        QTest::newRow("hidden file") << QStringList{".profile"} << " " << true;
        QTest::newRow("three at once, the last wins")
            << QStringList{"a.txt", "report.doc", "Games"} << " Games" << true;
        QTest::newRow("accented Latin")
            << QStringList{"Café résumé.pdf"} << "Café résumé.pdf" << true;
        QTest::newRow("emoji outside the BMP")
            << QStringList{"🎵 playlist.m3u"} << "🎵 playlist.m3u" << true;
        QTest::newRow("CJK folder") << QStringList{"数据"} << " 数据" << true;
        QTest::newRow("markup in the name") << QStringList{"<i>x.txt"} << "<i>x.txt" << true;
        QTest::newRow("a line break tag") << QStringList{"a<br>b.txt"} << "a<br>b.txt" << true;
        QTest::newRow("broken symbolic link") << QStringList{"dangling"} << "dangling" << false;
    }

    void dropAssignsTheLastFile()
    {
        QFETCH(QStringList, dropped);
        QFETCH(QString, caption);
        QFETCH(bool, picture);
        QList<DroppedFile> files;
        for (const QString &name : dropped)
            files.append({path(name), true});

        m_form->Command1_OLEDragDrop(5, files);

        QStringList expected = emptyStore();
        expected[5] = files.last().path;
        expected[17] = caption;
        QCOMPARE(m_form->List1().entries(), expected);
        QCOMPARE(m_store.bytes, StoreFile::serialise(expected));
        QCOMPARE(m_form->Command1(5)->caption(), caption);
        QCOMPARE(!m_form->Command1(5)->picture().isNull(), picture);
        // The tooltip shows the caption as it is, markup or not.
        const QString tip = m_form->Command1(5)->toolTip();
        QTextDocument shown;
        shown.setHtml(tip);
        QCOMPARE(Qt::mightBeRichText(tip) ? shown.toPlainText() : tip, caption);
        QVERIFY(m_desktop->messages.texts.isEmpty());
    }

    // A refused drop or a failed save leaves the slot as the store holds it.
    void dropThatCannotBeStoredChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<bool>("saveFails");
        QTest::newRow("LF in the name") << "two\nlines.txt" << true << false;
        QTest::newRow("CR in the name") << "two\rlines.txt" << true << false;
        QTest::newRow("name that is not UTF-8") << "caf\uFFFD.txt" << false << false;
        QTest::newRow("the save fails") << "report.doc" << true << true;
    }

    void dropThatCannotBeStoredChangesNothing()
    {
        QFETCH(QString, name);
        QFETCH(bool, exact);
        QFETCH(bool, saveFails);
        m_form->Command1_OLEDragDrop(1, {{path("a.txt"), true}});
        const std::optional<QByteArray> before = m_store.bytes;
        const QStringList entries = m_form->List1().entries();
        if (saveFails)
            m_store.writeFailure = QStringLiteral("No space left on device");

        m_form->Command1_OLEDragDrop(1, {{path(name), exact}});

        QCOMPARE(m_store.bytes, before);
        QCOMPARE(m_form->List1().entries(), entries);
        QCOMPARE(m_form->Command1(1)->caption(), QStringLiteral("a.txt"));
        QCOMPARE(m_desktop->messages.texts.size(), 1);
        QVERIFY(
            m_desktop->messages.texts.first().contains(saveFails ? m_store.path() : path(name)));
    }

    void slotAcceptsFilesAndTheEraserOnly_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("offered");
        QTest::addColumn<int>("action"); // 0: refused

        const QByteArray file = "file:///etc/hostname";
        const int copyMove = Qt::CopyAction | Qt::MoveAction;
        QTest::newRow("file, link offered")
            << "text/uri-list" << file << (copyMove | Qt::LinkAction) << int(Qt::LinkAction);
        QTest::newRow("file, never moved")
            << "text/uri-list" << file << copyMove << int(Qt::CopyAction);
        QTest::newRow("plain text") << "text/plain" << QByteArray("x") << copyMove << 0;
        QTest::newRow("web link") << "text/uri-list" << QByteArray("https://example.org/")
                                  << copyMove << 0;
        QTest::newRow("eraser's type from another program")
            << EraserPicture::MimeType << QByteArray() << int(Qt::MoveAction) << 0;
    }

    void slotAcceptsFilesAndTheEraserOnly()
    {
        QFETCH(QString, format);
        QFETCH(QByteArray, content);
        QFETCH(int, offered);
        QFETCH(int, action);
        QMimeData data;
        data.setData(format, content);
        const auto actions = Qt::DropActions(offered);
        QDragEnterEvent enter(QPoint(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_form->Command1(7), &enter);
        QCOMPARE(enter.isAccepted(), action != 0);
        QDropEvent drop(QPointF(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_form->Command1(7), &drop);
        QCOMPARE(drop.isAccepted(), action != 0);
        if (action)
            QCOMPARE(int(drop.dropAction()), action);
        QCOMPARE(m_form->List1().pathEntry(7), action ? QStringLiteral("/etc/hostname") : "1");
    }

    void eraserEmptiesTheSlot_data()
    {
        QTest::addColumn<bool>("full");
        QTest::addColumn<bool>("saveFails");
        QTest::newRow("full slot") << true << false;
        QTest::newRow("empty slot") << false << false;
        QTest::newRow("the save fails: slot as stored") << true << true;
    }

    void eraserEmptiesTheSlot()
    {
        QFETCH(bool, full);
        QFETCH(bool, saveFails);
        if (full)
            m_form->Command1_OLEDragDrop(12, {{path("Games"), true}});
        if (saveFails)
            m_store.writeFailure = QStringLiteral("No space left on device");

        m_form->Command1_DragDrop(12, m_form->Picture3());

        QCOMPARE(m_form->Command1(12)->caption(), saveFails ? " Games" : " ");
        QCOMPARE(m_form->Command1(12)->picture().isNull(), !saveFails);
        QCOMPARE(m_form->List1().pathEntry(12), saveFails ? path("Games") : "1");
        if (!saveFails)
            QCOMPARE(m_store.bytes.value(), QByteArray("1\r\n").repeated(25));
    }

    void eraserOverASlotShowsTheDragIcon()
    {
        m_form->Command1_DragOver(4, m_form->Command1(1));
        QVERIFY(m_form->Picture3()->dragIcon().isNull());
        m_form->Command1_DragOver(4, m_form->Picture3());
        QCOMPARE(m_form->Picture3()->dragIcon().toImage(),
                 m_form->picDocument()->pixmap().toImage());
    }

    // A click marks its slot, opens or shows the letter row (hiding a row
    // already shown), and locks the slot for a second.
    void click_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("letterRow");
        QTest::addColumn<QString>("hoverText");

        QTest::newRow("file") << "report.doc"
                              << "report.doc" << true << false << "";
        QTest::newRow("folder") << "Games"
                                << " Games" << true << false << " Games";
        QTest::newRow("catalogue") << "Arch"
                                   << " Arch" << false << true << " Arch";
        QTest::newRow("catalogue without the folder mark") << "Arch"
                                                           << "Arch" << true << false << "";
        QTest::newRow("file with a leading space")
            << "report.doc"
            << " report.doc" << true << false << " report.doc";
        QTest::newRow("unassigned") << ""
                                    << "1" << true << false << "";
        QTest::newRow("cleared") << ""
                                 << " " << true << false << " ";
        QTest::newRow("empty caption") << "Arch"
                                       << "" << true << false << "";
    }

    void click()
    {
        QFETCH(QString, target);
        QFETCH(QString, caption);
        QFETCH(bool, opens);
        QFETCH(bool, letterRow);
        QFETCH(QString, hoverText);
        const QString targetPath = target.isEmpty() ? QStringLiteral("1") : path(target);
        QStringList entries = emptyStore();
        entries[3] = targetPath;
        entries[15] = caption;
        startPanelOn(entries);
        m_form->Frame1()->show();

        bool lockedMeanwhile = false;
        m_desktop->pause.meanwhile = [&] { lockedMeanwhile = m_form->Command1(3)->isLocked(); };
        m_form->Command1(3)->click();

        QCOMPARE(m_form->CurrentPath(), targetPath);
        QCOMPARE(m_desktop->opener.opened, opens ? QStringList{targetPath} : QStringList());
        QCOMPARE(!m_form->Frame1()->isHidden(), letterRow);
        QCOMPARE(m_form->Text1()->toPlainText(), hoverText);
        for (int k = 1; k <= 12; ++k) {
            QCOMPARE(m_form->Command1(k)->backColor().rgb(),
                     k == 3 ? 0xFFFF0000u : 0xFFFFFFC0u); // red, light yellow
        }
        QCOMPARE(m_desktop->pause.waits, QList<int>{1000});
        QVERIFY(lockedMeanwhile);
        QVERIFY(!m_form->Command1(3)->isLocked());
    }

    void clicksDuringTheLock()
    {
        QStringList entries = emptyStore();
        entries[3] = path("report.doc");
        entries[5] = path("a.txt");
        startPanelOn(entries);
        bool outerLockedDuringInner = false;
        m_desktop->pause.meanwhile = [&] {
            m_form->Command1(3)->click(); // locked: nothing
            m_desktop->pause.meanwhile = [&] {
                outerLockedDuringInner = m_form->Command1(3)->isLocked();
            };
            m_form->Command1(5)->click(); // another slot: runs whole
        };

        m_form->Command1(3)->click();

        QCOMPARE(m_desktop->opener.opened, (QStringList{entries[3], entries[5]}));
        QCOMPARE(m_desktop->pause.waits.size(), 2);
        QCOMPARE(m_form->CurrentPath(), entries[5]);
        QCOMPARE(m_form->Command1(5)->backColor().rgb(), 0xFFFF0000u);
        QCOMPARE(m_form->Command1(3)->backColor().rgb(), 0xFFFFFFC0u);
        QVERIFY(outerLockedDuringInner);
        QVERIFY(!m_form->Command1(3)->isLocked() && !m_form->Command1(5)->isLocked());
    }

    void keysClick_data()
    {
        QTest::addColumn<bool>("onTile");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("againInTheLock");
        QTest::newRow("Space on a slot") << false << int(Qt::Key_Space) << false;
        QTest::newRow("Enter on a slot") << false << int(Qt::Key_Return) << false;
        QTest::newRow("keypad Enter on a slot") << false << int(Qt::Key_Enter) << false;
        QTest::newRow("Space twice: once, focus stays") << false << int(Qt::Key_Space) << true;
        QTest::newRow("Enter twice: once, focus stays") << false << int(Qt::Key_Return) << true;
        QTest::newRow("Space on a tile") << true << int(Qt::Key_Space) << false;
        QTest::newRow("Enter on a tile") << true << int(Qt::Key_Return) << false;
    }

    void keysClick()
    {
        QFETCH(bool, onTile);
        QFETCH(int, key);
        QFETCH(bool, againInTheLock);
        m_form->Frame1()->show();
        QWidget *target = onTile ? static_cast<QWidget *>(m_form->Picture1(32))
                                 : static_cast<QWidget *>(m_form->Command1(2));
        target->setFocus();
        QWidget *focusInTheLock = nullptr;
        m_desktop->pause.meanwhile = [&] {
            focusInTheLock = QApplication::focusWidget();
            if (againInTheLock)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        };
        QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(m_desktop->opener.opened, QStringList{onTile ? "/Я" : "1"});
        if (!onTile)
            QCOMPARE(focusInTheLock, target);
        QCOMPARE(QApplication::focusWidget(), target);
    }

    void hoverTextFollowsThePointer()
    {
        for (int k = 1; k <= 12; ++k)
            m_form->Command1(k)->setCaption(QStringLiteral("caption %1").arg(k), QString());
        QPlainTextEdit *text = m_form->Text1();
        moveOver(m_form->Command1(3));
        QCOMPARE(text->toPlainText(), QStringLiteral("caption 3"));
        moveOver(m_form.get(), QPoint(2, 300));
        QCOMPARE(text->toPlainText(), QString());
        m_form->Command1(6)->setLocked(true); // a locked slot shows it too
        moveOver(m_form->Command1(6));
        QCOMPARE(text->toPlainText(), QStringLiteral("caption 6"));
        // Only the bare surface clears it.
        m_form->Frame1()->show();
        moveOver(m_form->Picture1(11));
        moveOver(m_form->Picture3());
        moveOver(text);
        QCOMPARE(text->toPlainText(), QStringLiteral("caption 6"));
    }

    // The menu from the mouse and from the keyboard; a locked slot has it too.
    void menu_data()
    {
        QTest::addColumn<QString>("on");
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("shown");
        QTest::newRow("right button on a slot") << "slot"
                                                << "right" << true;
        QTest::newRow("right button on a locked slot") << "locked slot"
                                                       << "right" << true;
        QTest::newRow("right button on the surface") << "surface"
                                                     << "right" << true;
        QTest::newRow("middle button on a slot") << "slot"
                                                 << "middle" << false;
        QTest::newRow("middle button on the surface") << "surface"
                                                      << "middle" << false;
        QTest::newRow("left button on a locked slot") << "locked slot"
                                                      << "left" << false;
        QTest::newRow("Menu key on a slot") << "slot"
                                            << "Menu" << true;
        QTest::newRow("Shift+F10 on a slot") << "slot"
                                             << "Shift+F10" << true;
        QTest::newRow("Menu key on the hover text") << "text"
                                                    << "Menu" << true;
        QTest::newRow("Shift+F10 on the hover text") << "text"
                                                     << "Shift+F10" << true;
    }

    void menu()
    {
        QFETCH(QString, on);
        QFETCH(QString, input);
        QFETCH(bool, shown);
        m_form->Command1(4)->setLocked(on == "locked slot");
        QWidget *target = on == "surface" ? static_cast<QWidget *>(m_form.get())
                          : on == "text"  ? static_cast<QWidget *>(m_form->Text1())
                                          : static_cast<QWidget *>(m_form->Command1(4));
        const QPoint local = on == "surface" ? QPoint(2, 300) : target->rect().center();
        const QPoint at = target->mapToGlobal(local);
        target->setFocus();
        const auto seen = watchForMenu(this);
        if (input == "Menu") {
            QContextMenuEvent event(QContextMenuEvent::Keyboard, local, at);
            QApplication::sendEvent(target, &event);
        } else if (input == "Shift+F10") {
            QTest::keyClick(target, Qt::Key_F10, Qt::ShiftModifier);
        } else {
            press(target,
                  input == "right"  ? Qt::RightButton
                  : input == "left" ? Qt::LeftButton
                                    : Qt::MiddleButton,
                  local);
        }
        QTest::qWait(20);
        QCOMPARE(seen->items, shown ? MenuItems : QStringList());
        QVERIFY(m_desktop->opener.opened.isEmpty());
        // From the keyboard, at the focused widget (moved aside only as far
        // as the screen needs).
        if (shown && !QStringList{"right", "left", "middle"}.contains(input))
            QVERIFY(seen->geometry.adjusted(-1, 0, 1, 0).contains(at) &&
                    seen->geometry.top() == at.y());
    }

    void aboutAndHelpWindows()
    {
        QVERIFY(!m_form->Form1() && !m_form->help());
        m_form->prog_Click();
        AboutWindow *about = m_form->Form1();
        m_form->prog_Click();
        m_form->spr_Click();
        HelpWindow *help = m_form->help();
        help->close();
        m_form->spr_Click();
        QVERIFY(m_form->Form1() == about && m_form->help() == help);
        QVERIFY(about->isVisible() && help->isVisible());
        QCOMPARE(help->windowType(), Qt::Window); // not a utility window one may hide
        QCOMPARE(help->Image1()->size(), QSize(291, 175));

        for (QWidget *dead :
             {static_cast<QWidget *>(about->Label1()), static_cast<QWidget *>(about->Label2()),
              static_cast<QWidget *>(about)})
            press(dead, Qt::LeftButton, QPoint(2, 2));
        QVERIFY(m_desktop->opener.opened.isEmpty());
        press(about->Label3(), Qt::LeftButton);
        press(about->Label3(), Qt::LeftButton);
        QCOMPARE(m_desktop->opener.opened, QStringList(2, about->Label3()->text()));
        QCOMPARE(about->Label3()->cursor().shape(), Qt::SizeAllCursor);
        // The address fits its fixed box in the face that stands in.
        QVERIFY(about->Label3()->fontMetrics().horizontalAdvance(about->Label3()->text()) <=
                about->Label3()->width());
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
            for (int i = 0; i < face.width() * face.height() && !red; ++i)
                red = face.pixelColor(i % face.width(), i / face.width()) == Qt::red;
            QVERIFY2(red, qPrintable(label->text()));
        }
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("client");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("placed");
        const QRect panel(683, 127, 81, 523);
        const QRect screen(0, 0, 1024, 768);
        QTest::newRow("fits: stays") << panel << screen << QPoint(683, 127);
        QTest::newRow("1024 x 600: up by the least")
            << panel << QRect(0, 0, 1024, 600) << QPoint(683, 76);
        QTest::newRow("below a top bar") << panel << QRect(0, 30, 1024, 570) << QPoint(683, 76);
        QTest::newRow("narrow screen: left by the least")
            << panel << QRect(0, 0, 640, 768) << QPoint(558, 127);
        QTest::newRow("taller than the screen: top edge shows")
            << QRect(683, 127, 81, 1046) << screen << QPoint(683, 20);
        QTest::newRow("left of the screen") << QRect(-50, 127, 81, 523) << screen << QPoint(1, 127);
    }

    void placement()
    {
        QFETCH(QRect, client);
        QFETCH(QRect, available);
        QFETCH(QPoint, placed);
        QCOMPARE(ScreenPlacement::fit(client, QMargins(1, 20, 1, 1), available),
                 QRect(placed, client.size()));
    }

    void picturesForDenseScreens()
    {
        using Picture = QPixmap (*)(qreal);
        for (Picture picture : {Picture(Pictures::eraser), Picture(Pictures::dragIcon),
                                Picture(Pictures::helpPicture),
                                Picture([](qreal r) { return Pictures::letterTile(192, r); })}) {
            const QPixmap plain = picture(1), dense = picture(2);
            QVERIFY(!plain.isNull());
            QCOMPARE(dense.devicePixelRatio(), 2.0);
            QCOMPARE(dense.size(), plain.size() * 2);
            QCOMPARE(dense.deviceIndependentSize().toSize(), plain.size());
        }
        QVERIFY(Pictures::windowIcon().availableSizes().contains(QSize(64, 64)));
    }

    void keyboardAndScreenReaders()
    {
        m_form->Frame1()->show();
        QList<QWidget *> expected;
        for (int k = 1; k <= 10; ++k)
            expected.append(m_form->Command1(k));
        for (LetterTile *tile : m_form->Frame1()->tiles())
            expected.append(tile);
        expected << m_form->Command1(11) << m_form->Command1(12);
        m_form->Command1(1)->setFocus();
        QList<QWidget *> visited{QApplication::focusWidget()};
        while (visited.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget());
        }
        QCOMPARE(visited, expected);
        m_form->Frame1()->hide(); // a hidden row is passed over
        m_form->Command1(10)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_form->Command1(11));

        m_form->Command1_OLEDragDrop(4, {{path("Games"), true}});
        const auto said = [](QWidget *w) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
            return QString::number(a->role()) + ' ' + a->text(QAccessible::Name);
        };
        const QString button = QString::number(QAccessible::Button) + ' ';
        QCOMPARE(said(m_form->Command1(3)), button + "Пустая кнопка");
        QCOMPARE(said(m_form->Command1(4)), button + "Папка Games");
        QCOMPARE(said(m_form->Picture1(11)), button + "К");
        QCOMPARE(said(m_form->Picture3()), QString::number(QAccessible::Graphic) +
                                               " Резинка (Перетащи и бось для очистки кнопки)");
    }
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
