// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's widgets on a fake desktop and a store in memory: drags and
// keys on the slots, the lock, the mouse and the menu.
#include "helpers/PanelFixture.h"
#include "catalogue/LetterRow.h"
#include "catalogue/LetterTile.h"
#include "panel/EraserPicture.h"
#include "panel/SlotButton.h"
#include "support/session/FontFaces.h"

#include <QClipboard>
#include <QLabel>
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
        for (const char *folder : {"Games", "Arch/А"})
            QVERIFY(QDir(m_dir.path()).mkpath(QString::fromUtf8(folder)));
        for (const char *file : {"report.doc", "a.txt", "<i>x.txt"})
            QVERIFY(QFile(path(file)).open(QIODevice::WriteOnly));
    }

    void init()
    {
        m_store = MemoryStore();
        startPanelOn(emptyStore());
    }

    // A drag of files is taken as a link, or a copy where no link is offered,
    // never a move, and shown, the tooltip as plain text; what is not a local
    // file is refused, and so is everything while the store stands unread.
    // The clipboard's files and Delete stand for a drop and the eraser.
    void drop_data()
    {
        // Names: "?" not UTF-8, "!" the save fails, "~" no link offered.
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<int>("action");      // 0: refused as it enters
        QTest::addColumn<QString>("caption"); // empty: refused
        QTest::addColumn<bool>("picture");
        QTest::addColumn<QString>("meanwhile"); // what the store or the disk does
        QTest::addColumn<QString>("by");        // keys on the slot instead of a drag
        const int link = Qt::LinkAction, none = 0;
        // clang-format off
        QTest::newRow("file") << QStringList{"report.doc"} << link << "report.doc" << true << "" << "";
        QTest::newRow("file, no link offered: a copy") << QStringList{"~report.doc"} << int(Qt::CopyAction) << "report.doc" << true << "" << "";
        QTest::newRow("markup") << QStringList{"<i>x.txt"} << link << "<i>x.txt" << true << "" << "";
        QTest::newRow("refused: not UTF-8") << QStringList{"a.txt", "?café"} << link << "" << false << "" << "";
        QTest::newRow("plain text") << QStringList{"text"} << none << "" << false << "" << "";
        QTest::newRow("web link") << QStringList{"https://example.org/"} << none << "" << false << "" << "";
        QTest::newRow("eraser's type from another program") << QStringList{"eraser's type"} << none << "" << false << "" << "";
        QTest::newRow("the eraser") << QStringList{"eraser"} << link << " " << false << "" << "";
        QTest::newRow("the eraser, the save fails: as stored") << QStringList{"!eraser"} << link << "" << false << "" << "";
        QTest::newRow("on a locked slot: refused") << QStringList{"report.doc"} << none << "" << false << "locked" << "";
        QTest::newRow("store unread: refused") << QStringList{"report.doc"} << none << "" << false << "unread" << "";
        QTest::newRow("Ctrl+V: the last copied file") << QStringList{"a.txt", "report.doc"} << link << "report.doc" << true << "" << "Ctrl+V";
        QTest::newRow("Shift+Insert: GNOME's list only") << QStringList{"Games"} << link << " Games" << true << "" << "Shift+Insert, GNOME";
        QTest::newRow("Ctrl+V, plain text: nothing") << QStringList{"text"} << none << "" << false << "" << "Ctrl+V";
        QTest::newRow("Delete: as the eraser") << QStringList{"eraser"} << link << " " << false << "" << "Delete";
        // clang-format on
    }

    void drop()
    {
        QFETCH(QStringList, dropped);
        QFETCH(int, action);
        QFETCH(QString, caption);
        QFETCH(bool, picture);
        QFETCH(QString, meanwhile);
        QFETCH(QString, by);
        m_form->Command1_OLEDragDrop(5, {{path("a.txt"), true}});
        const QStringList before = m_form->List1().entries();
        if (meanwhile == "unread") { // said as the panel starts
            m_store.readFailure = std::make_error_code(std::errc::permission_denied);
            startPanel();
            m_desktop->messages.texts.clear();
        }
        m_form->Command1(5)->setLocked(meanwhile == "locked");
        if (dropped[0].startsWith('!'))
            m_store.writeFailure = std::make_error_code(std::errc::no_space_on_device);
        const bool eraser = dropped[0].endsWith("eraser");
        if (by == "Delete") {
            QTest::keyClick(m_form->Command1(5), Qt::Key_Delete);
        } else if (eraser) { // the panel's own, whose source an event cannot fake
            m_form->Command1_DragOver(5, m_form->Command1(1)); // not the eraser: nothing
            QVERIFY(m_form->Picture3()->dragIcon().isNull());
            m_form->Command1_DragOver(5, m_form->Picture3());
            QCOMPARE(m_form->Picture3()->dragIcon().toImage(),
                     m_form->picDocument()->pixmap().toImage());
            m_form->Command1_DragDrop(5, m_form->Picture3());
        } else {
            QByteArray uris;
            for (const QString &name : dropped) {
                const QString file = path(name.mid(QStringLiteral("?!~").contains(name.front())));
                uris += name.startsWith("https:") ? name.toUtf8()
                        : name.startsWith('?') ? "file://" + file.toLatin1().toPercentEncoding("/")
                                               : QUrl::fromLocalFile(file).toEncoded();
                uris += "\r\n";
            }
            auto data = std::make_unique<QMimeData>();
            data->setData(dropped[0] == "text"            ? "text/plain"
                          : dropped[0] == "eraser's type" ? EraserPicture::MimeType
                          : by.endsWith("GNOME")          ? "x-special/gnome-copied-files"
                                                          : "text/uri-list",
                          by.endsWith("GNOME") ? "copy\n" + uris.trimmed() : uris);
            if (!by.isEmpty()) { // copied, as a file manager's Copy leaves it
                QGuiApplication::clipboard()->setMimeData(data.release());
                by.startsWith("Shift")
                    ? QTest::keyClick(m_form->Command1(5), Qt::Key_Insert, Qt::ShiftModifier)
                    : QTest::keyClick(m_form->Command1(5), Qt::Key_V, Qt::ControlModifier);
            } else {
                const auto offered =
                    Qt::CopyAction | Qt::MoveAction |
                    (dropped[0].startsWith('~') ? Qt::IgnoreAction : Qt::LinkAction);
                QDragEnterEvent enter({5, 5}, offered, data.get(), Qt::LeftButton, {});
                QApplication::sendEvent(m_form->Command1(5), &enter);
                QDropEvent drop({5, 5}, offered, data.get(), Qt::LeftButton, {});
                QApplication::sendEvent(m_form->Command1(5), &drop);
                QCOMPARE(enter.isAccepted() && drop.isAccepted() ? int(drop.dropAction()) : 0,
                         action);
            }
        }
        if (caption.isEmpty()) // what is shown was stored; what is refused, not
            QCOMPARE(m_store.bytes, StoreFile::serialise(before));
        if (meanwhile != "unread") { // a fresh panel shows nothing
            const QString tip = m_form->Command1(5)->toolTip();
            QTextDocument shown;
            shown.setHtml(tip);
            QCOMPARE(Qt::mightBeRichText(tip) ? shown.toPlainText() : tip,
                     caption.isEmpty() ? "a.txt" : caption);
            QCOMPARE(!m_form->Command1(5)->picture().isNull(), picture || caption.isEmpty());
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
        QTest::newRow("folder") << "Games" << 0 << false;
        QTest::newRow("catalogue") << "Arch" << 0 << false;
        QTest::newRow("clicked twice") << "Games" << 0 << true;
        QTest::newRow("Space") << "Games" << space << false;
        QTest::newRow("Enter") << "Games" << enter << false;
        QTest::newRow("keypad Enter") << "Games" << int(Qt::Key_Enter) << false;
        QTest::newRow("Space twice") << "Games" << space << true;
        QTest::newRow("Enter twice") << "Games" << enter << true;
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
        startPanelOn(entries);
        showPanel();
        m_form->Frame1()->show();
        SlotButton *slot = m_form->Command1(3);
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

        QCOMPARE(m_form->CurrentPath(), targetPath);
        QCOMPARE(m_desktop->opener.opened, catalogue ? QStringList() : QStringList{targetPath});
        QCOMPARE(!m_form->Frame1()->isHidden(), catalogue);
        QCOMPARE(m_form->Text1()->toPlainText(), folder ? entries[15] : "");
        for (int k = 1; k <= 12; ++k)
            QCOMPARE(m_form->Command1(k)->backColor().rgb(), k == 3 ? Red : Plain);
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
        startPanelOn(entries);
        const auto over = [this](QWidget *widget, QPoint at = {5, 5}) {
            mouse(widget, QEvent::MouseMove, Qt::NoButton, at);
            return m_form->Text1()->toPlainText();
        };
        QCOMPARE(over(m_form->Command1(3)), "3");
        QCOMPARE(over(m_form.get(), {2, 300}), "");
        m_form->Command1(6)->setLocked(true); // a locked slot shows it too
        QCOMPARE(over(m_form->Command1(6)), "6");
        m_form->Frame1()->show(); // only the bare surface clears it
        for (QWidget *other :
             QList<QWidget *>{m_form->Picture1(11), m_form->Picture3(), m_form->Text1()})
            QCOMPARE(over(other), "6");
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
        m_form->Command1(4)->setLocked(on == "locked");
        QWidget *target = on == "surface" ? m_form.get()
                          : on == "text"  ? static_cast<QWidget *>(m_form->Text1())
                                          : m_form->Command1(4);
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
        QTest::qWait(20);
        const QStringList items{"Создать каталог папок", "Справка", "О программе"};
        QCOMPARE(seen->first, shown ? items : QStringList());
        QVERIFY(m_desktop->opener.opened.isEmpty());
        // From the keyboard at the focused widget, moved aside only as far as
        // the screen needs.
        if (shown && input > int(Qt::MiddleButton))
            QVERIFY(seen->second.adjusted(-1, 0, 1, 0).contains(at) &&
                    seen->second.top() == at.y());
    }
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
