// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's widgets on a fake desktop and a store in memory: drags and
// keys on the slots, the lock, the mouse and the menu.
#include "catalogue/LetterRow.h"
#include "catalogue/LetterTile.h"
#include "helpers/PanelFixture.h"
#include "panel/EraserPicture.h"
#include "panel/SlotButton.h"
#include "support/look/FontFaces.h"

#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QUrl>

class TestPanel : public PanelFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        FontFaces::mapWindowsFaces();
        QVERIFY(makeTargets(m_dir.path()));
    }
    void init() { startEmpty(); }

    // A drag of files is taken as a link, or a copy where no link is offered,
    // never a move, and shown, the tooltip as plain text; what is not a local
    // file is refused, and so is everything while the store stands unread.
    // The clipboard's files and Delete stand for a drop and the eraser.
    void drop_data()
    {
        QTest::addColumn<QString>("type");    // what is dragged or copied: its type
        QTest::addColumn<QByteArray>("data"); // and its bytes; "eraser": the panel's own
        QTest::addColumn<int>("offered");     // the drag's actions
        QTest::addColumn<bool>("saveFails");
        QTest::addColumn<int>("action");      // 0: refused as it enters
        QTest::addColumn<QString>("caption"); // empty: refused
        QTest::addColumn<bool>("picture");
        QTest::addColumn<QString>("meanwhile"); // what the store or the disk does
        QTest::addColumn<QString>("by");        // keys on the slot instead of a drag
        const int link = Qt::LinkAction, none = 0;
        const int all = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, noLink = all & ~link;
        const QString uriList = "text/uri-list", text = "text/plain";
        const auto uris = [this](const QStringList &names) {
            QByteArray list;
            for (const QString &name : names)
                list += QUrl::fromLocalFile(path(name)).toEncoded() + "\r\n";
            return list;
        };
        // A name in Latin-1 bytes, as no file manager here would send it.
        const QByteArray latin1 =
            uris({"a.txt"}) + "file://" + path("café").toLatin1().toPercentEncoding("/");
        // clang-format off
        QTest::newRow("file, no link offered: a copy") << uriList << uris({"report.doc"}) << noLink << false << int(Qt::CopyAction) << "report.doc" << true << "" << "";
        QTest::newRow("markup") << uriList << uris({"<i>x.txt"}) << all << false << link << "<i>x.txt" << true << "" << "";
        QTest::newRow("refused: not UTF-8") << uriList << latin1 << all << false << link << "" << false << "" << "";
        QTest::newRow("plain text") << text << QByteArray("text") << all << false << none << "" << false << "" << "";
        QTest::newRow("web link") << uriList << QByteArray("https://example.org/\r\n") << all << false << none << "" << false << "" << "";
        QTest::newRow("MATE's Home icon: the home folder") << uriList << QByteArray("x-caja-desktop:///home") << all << false << link << " " + QDir(QDir::homePath()).dirName() << true << "" << "";
        QTest::newRow("MATE's other desktop icons: refused") << uriList << QByteArray("x-caja-desktop:///computer\r\nx-caja-desktop:///trash") << all << false << none << "" << false << "" << "";
        QTest::newRow("eraser's type from another program") << QString(EraserPicture::MimeType) << QByteArray() << all << false << none << "" << false << "" << "";
        QTest::newRow("the eraser") << "" << QByteArray("eraser") << all << false << link << " " << false << "" << "";
        QTest::newRow("the eraser, the save fails: as stored") << "" << QByteArray("eraser") << all << true << link << "" << false << "" << "";
        QTest::newRow("on a locked slot: refused") << uriList << uris({"report.doc"}) << all << false << none << "" << false << "locked" << "";
        QTest::newRow("store unread: refused") << uriList << uris({"report.doc"}) << all << false << none << "" << false << "unread" << "";
        QTest::newRow("Ctrl+V: the last copied file") << uriList << uris({"a.txt", "report.doc"}) << all << false << link << "report.doc" << true << "" << "Ctrl+V";
        QTest::newRow("Shift+Insert: GNOME's list only") << "x-special/gnome-copied-files" << "copy\n" + uris({"Games"}).trimmed() << all << false << link << " Games" << true << "" << "Shift+Insert";
        QTest::newRow("Ctrl+V, plain text: nothing") << text << QByteArray("text") << all << false << none << "" << false << "" << "Ctrl+V";
        QTest::newRow("Delete: as the eraser") << "" << QByteArray("eraser") << all << false << link << " " << false << "" << "Delete";
        // clang-format on
    }

    void drop()
    {
        QFETCH(QString, type);
        QFETCH(QByteArray, data);
        QFETCH(int, offered);
        QFETCH(bool, saveFails);
        QFETCH(int, action);
        QFETCH(QString, caption);
        QFETCH(bool, picture);
        QFETCH(QString, meanwhile);
        QFETCH(QString, by);
        m_form->dropFiles(5, {{path("a.txt"), true}});
        const QStringList before = m_form->slotList().entries();
        if (meanwhile == "unread") { // said as the panel starts
            m_store.readFailure = std::make_error_code(std::errc::permission_denied);
            start();
            m_desktop->messages.texts.clear();
        }
        m_form->slotButton(5)->setLocked(meanwhile == "locked");
        if (saveFails)
            m_store.writeFailure = std::make_error_code(std::errc::no_space_on_device);
        const bool eraser = data == "eraser";
        if (by == "Delete") {
            QTest::keyClick(m_form->slotButton(5), Qt::Key_Delete);
        } else if (eraser) { // the panel's own, whose source an event cannot fake
            m_form->controlDraggedOver(5, m_form->slotButton(1)); // not the eraser: nothing
            QVERIFY(m_form->eraser()->dragIcon().isNull());
            m_form->controlDraggedOver(5, m_form->eraser());
            QCOMPARE(m_form->eraser()->dragIcon().toImage(),
                     m_form->dragPicture()->pixmap().toImage());
            m_form->controlDropped(5, m_form->eraser());
        } else {
            auto mime = std::make_unique<QMimeData>();
            mime->setData(type, data);
            if (!by.isEmpty()) { // copied, as a file manager's Copy leaves it
                QGuiApplication::clipboard()->setMimeData(mime.release());
                by.startsWith("Shift")
                    ? QTest::keyClick(m_form->slotButton(5), Qt::Key_Insert, Qt::ShiftModifier)
                    : QTest::keyClick(m_form->slotButton(5), Qt::Key_V, Qt::ControlModifier);
            } else {
                const auto actions = Qt::DropActions(offered);
                QDragEnterEvent enter({5, 5}, actions, mime.get(), Qt::LeftButton, {});
                QApplication::sendEvent(m_form->slotButton(5), &enter);
                QDropEvent drop({5, 5}, actions, mime.get(), Qt::LeftButton, {});
                QApplication::sendEvent(m_form->slotButton(5), &drop);
                QCOMPARE(enter.isAccepted() && drop.isAccepted() ? int(drop.dropAction()) : 0,
                         action);
            }
        }
        if (caption.isEmpty()) // what is shown was stored; what is refused, not
            QCOMPARE(m_store.bytes, StoreFile::serialise(before));
        if (meanwhile != "unread") { // a fresh panel shows nothing
            const QString tip = m_form->slotButton(5)->toolTip();
            QTextDocument shown;
            shown.setHtml(tip);
            QCOMPARE(Qt::mightBeRichText(tip) ? shown.toPlainText() : tip,
                     caption.isEmpty() ? "a.txt" : caption);
            QCOMPARE(!m_form->slotButton(5)->picture().isNull(), picture || caption.isEmpty());
        }
        QCOMPARE(m_desktop->messages.texts.size(), caption.isEmpty() && action ? 1 : 0);
    }

    // A click, Space or Enter marks its slot, opens it or shows the letter row
    // (hiding one shown before), and locks the slot for a second, keeping the
    // focus; pressed again within the lock, it does nothing.
    void click_data()
    {
        QTest::addColumn<QString>("target"); // a catalogue, a folder, a file
        QTest::addColumn<int>("key");        // 0: the mouse; below 0: that key held
        QTest::addColumn<bool>("again");
        const int space = Qt::Key_Space, enter = Qt::Key_Return;
        // clang-format off
        QTest::newRow("file") << "report.doc" << 0 << false;
        QTest::newRow("catalogue") << "Arch" << 0 << false;
        QTest::newRow("clicked twice") << "Games" << 0 << true;
        QTest::newRow("keypad Enter") << "Games" << int(Qt::Key_Enter) << false;
        QTest::newRow("Enter held: one open") << "Games" << -enter << false;
        // clang-format on
    }

    void click()
    {
        QFETCH(QString, target);
        QFETCH(int, key);
        QFETCH(bool, again);
        const QString targetPath = path(target);
        const bool catalogue = target == "Arch", folder = !target.contains('.');
        QStringList entries = emptyStore();
        entries[3] = targetPath, entries[15] = folder ? ' ' + target : target;
        startOn(entries);
        showPanel();
        m_form->letterRow()->show();
        SlotButton *slot = m_form->slotButton(3);
        slot->setFocus();
        const auto activate = [slot, key] {
            for (int repeat = 0; key < 0 && repeat < 4; ++repeat) { // as auto-repeat sends it
                QKeyEvent held(QEvent::KeyPress, -key, Qt::NoModifier, {}, repeat > 0);
                QApplication::sendEvent(slot, &held);
            }
            key > 0 ? QTest::keyClick(slot, Qt::Key(key)) : key == 0 ? slot->click() : void();
        };
        bool lockedMeanwhile = false;
        m_desktop->pause.meanwhile = [&] {
            lockedMeanwhile = slot->isLocked() && QApplication::focusWidget() == slot;
            if (again)
                activate();
        };

        activate();

        QCOMPARE(m_form->currentPath(), targetPath);
        QCOMPARE(m_desktop->opener.opened, catalogue ? QStringList() : QStringList{targetPath});
        QCOMPARE(!m_form->letterRow()->isHidden(), catalogue);
        QCOMPARE(m_form->hoverText()->toPlainText(), folder ? entries[15] : "");
        for (int k = 1; k <= 12; ++k)
            QCOMPARE(m_form->slotButton(k)->backColor().rgb(), k == 3 ? Red : Plain);
        QCOMPARE(m_desktop->pause.waits, QList<int>{1000});
        QVERIFY(lockedMeanwhile && !slot->isLocked() && QApplication::focusWidget() == slot);
        QPixmap blue(32, 32); // in its own colours again, not greyed
        blue.fill(Qt::blue);
        slot->setPicture(blue);
        QCOMPARE(slot->grab().toImage().pixelColor(slot->rect().center()), QColor(Qt::blue));
    }

    void hoverText()
    {
        QStringList entries{"1"};
        for (int k = 1; k <= 12; ++k)
            entries.append("/p" + QString::number(k));
        for (int k = 1; k <= 12; ++k)
            entries.append(QString::number(k));
        startOn(entries);
        const auto over = [this](QWidget *widget, QPoint at = {5, 5}) {
            mouse(widget, QEvent::MouseMove, Qt::NoButton, at);
            return m_form->hoverText()->toPlainText();
        };
        QCOMPARE(over(m_form->slotButton(3)), "3");
        QCOMPARE(over(m_form.get(), {2, 300}), "");
        m_form->slotButton(6)->setLocked(true); // a locked slot shows it too
        QCOMPARE(over(m_form->slotButton(6)), "6");
        m_form->letterRow()->show(); // only the bare surface clears it
        for (QWidget *other :
             QList<QWidget *>{m_form->letterTile(11), m_form->eraser(), m_form->hoverText()})
            QCOMPARE(over(other), "6");
        for (int k = 1; k <= 12; ++k) // the slots in their column
            QCOMPARE(m_form->slotButton(k)->geometry(), QRect(8, 44 + 38 * (k - 1), 37, 37));
        QCOMPARE(m_form->hoverText()->document()->documentMargin(), 2);
    }

    // The menu from the mouse and the keyboard; a locked slot has it too.
    void menu_data()
    {
        QTest::addColumn<QString>("on");
        QTest::addColumn<int>("input"); // a mouse button, or a key
        QTest::addColumn<bool>("shown");
        // clang-format off
        QTest::newRow("right button on a slot") << "slot" << int(Qt::RightButton) << true;
        QTest::newRow("right button, locked slot") << "locked" << int(Qt::RightButton) << true;
        QTest::newRow("right button on the surface") << "surface" << int(Qt::RightButton) << true;
        QTest::newRow("middle button on a slot") << "slot" << int(Qt::MiddleButton) << false;
        QTest::newRow("left button, locked slot") << "locked" << int(Qt::LeftButton) << false;
        QTest::newRow("Menu key on a slot") << "slot" << int(Qt::Key_Menu) << true;
        QTest::newRow("Shift+F10 on a slot") << "slot" << int(Qt::Key_F10) << true;
        QTest::newRow("Menu key on the hover text") << "text" << int(Qt::Key_Menu) << true;
        // clang-format on
    }

    void menu()
    {
        QFETCH(QString, on);
        QFETCH(int, input);
        QFETCH(bool, shown);
        showPanel();
        m_form->slotButton(4)->setLocked(on == "locked");
        QWidget *target = on == "surface" ? m_form.get()
                          : on == "text"  ? static_cast<QWidget *>(m_form->hoverText())
                                          : m_form->slotButton(4);
        const QPoint local = on == "surface" ? QPoint(2, 300) : target->rect().center();
        const QPoint at = target->mapToGlobal(local);
        target->setFocus();
        const auto seen = watchForMenu(this);
        if (input == Qt::Key_Menu) { // as the X server's Menu key arrives
            QContextMenuEvent event(QContextMenuEvent::Keyboard, local, at);
            QApplication::sendEvent(target, &event);
        } else if (input == Qt::Key_F10) {
            QTest::keyClick(target, Qt::Key_F10, Qt::ShiftModifier);
        } else {
            press(target, Qt::MouseButton(input), local);
        }
        QTRY_VERIFY(seen->looked);
        const QStringList items{"Создать каталог папок", "Справка", "О программе"};
        QCOMPARE(seen->items, shown ? items : QStringList());
        QVERIFY(m_desktop->opener.opened.isEmpty());
        // From the keyboard at the focused widget, moved aside only as far as
        // the screen needs.
        if (shown && input > int(Qt::MiddleButton))
            QVERIFY(seen->place.adjusted(-1, 0, 1, 0).contains(at) && seen->place.top() == at.y());
    }
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
