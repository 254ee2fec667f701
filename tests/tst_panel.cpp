// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's widgets on a fake desktop and a store in memory: drags and
// keys on the slots, the lock, the mouse, the menu, its windows, the letter
// row and what screen readers hear.
#include "catalogue/LetterRow.h"
#include "catalogue/LetterTile.h"
#include "helpers/FakeDesktop.h"
#include "helpers/TestFiles.h"
#include "images/Pictures.h"
#include "panel/EraserPicture.h"
#include "panel/ShowIconsForm.h"
#include "panel/SlotButton.h"
#include "panel/StoreFile.h"
#include "support/widgets/ClickableLabel.h"
#include "support/dialogs/FileSaveDialog.h"
#include "support/session/FontFaces.h"
#include "support/dialogs/MessageBoxMessages.h"
#include "support/session/QtTranslation.h"
#include "support/widgets/ScreenPlacement.h"
#include "windows/AboutWindow.h"
#include "windows/FixedWindow.h"
#include "windows/HelpWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

namespace {

// Mouse events as the window system delivers them, propagation included.
void mouse(QWidget *widget, QEvent::Type type, Qt::MouseButton button, QPoint at = {5, 5})
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), button,
                      type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
void press(QWidget *widget, Qt::MouseButton button, QPoint at = {5, 5})
{
    mouse(widget, QEvent::MouseButtonPress, button, at);
    mouse(widget, QEvent::MouseButtonRelease, button, at);
}

// The items and place of the popup menu that comes up next, then closed.
std::shared_ptr<QPair<QStringList, QRect>> watchForMenu(QObject *context)
{
    auto seen = std::make_shared<QPair<QStringList, QRect>>();
    QTimer::singleShot(0, context, [seen] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            for (QAction *action : popup->actions())
                seen->first.append(action->text());
            seen->second = popup->geometry();
            popup->close();
        }
    });
    return seen;
}

constexpr QRgb Plain = 0xFFFFFFC0, Red = 0xFFFF0000;

} // namespace

class TestPanel : public QObject
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

    // Each made once and shown above the panel; the catalogue's save dialog
    // is owned by an About window made for it and not shown.
    void aboutAndHelp()
    {
        const QPalette theme = QApplication::palette();
        QPalette dark = theme; // a dark theme's light text
        for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            dark.setColor(role, QColor(0xee, 0xee, 0xee));
        QApplication::setPalette(dark);
        m_form->sozdat_Click();
        QVERIFY(m_desktop->saveDialog.owners == QList<QWidget *>{m_form->Form1()} &&
                !m_form->Form1()->isVisible());
        m_form->prog_Click();
        AboutWindow *about = m_form->Form1();
        m_form->prog_Click();
        m_form->spr_Click();
        HelpWindow *help = m_form->help();
        m_form->spr_Click();
        QVERIFY(m_form->Form1() == about && m_form->help() == help);
        for (QLabel *text : {about->Label1(), about->Label2()}) // black on the fixed grey
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
        QCOMPARE(help->windowType(), Qt::Window); // not a utility window one may hide
        for (QWidget *window : QList<QWidget *>{m_form.get(), help, about}) // above the rest
            QCOMPARE(window->windowFlags() & ~Qt::WindowSystemMenuHint,
                     fixedWindowFlags(TitleBar::CloseBox, true));
        for (QWidget *dead : QList<QWidget *>{about->Label1(), about})
            press(dead, Qt::LeftButton, {2, 2});
        QVERIFY(m_desktop->opener.opened.isEmpty());
        press(about->Label3(), Qt::LeftButton);
        press(about->Label3(), Qt::LeftButton);
        QCOMPARE(m_desktop->opener.opened, QStringList(2, about->Label3()->text()));
        // The address fits its fixed box in the face that stands in.
        const QLabel *link = about->Label3();
        QVERIFY(link->fontMetrics().horizontalAdvance(link->text()) <= link->width());
    }

    // Qt's own windows speak Russian too, under any locale: the names a
    // screen reader reads in the save dialog and a message, and the dialog's
    // file list's types and dates.
    void qtWindowsInRussian()
    {
        QVERIFY(installQtRussian());
        QTemporaryDir home;
        QVERIFY(QDir(home.path()).mkpath("Папка"));
        const QByteArray ownHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        QStringList english;
        QString type, date;
        QPoint offCentre;
        const auto readModal = [&] {
            QDialog *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!modal)
                return;
            offCentre = modal->frameGeometry().center() -
                        modal->screen()->availableGeometry().center();
            if (QTreeView *list = modal->findChild<QTreeView *>()) {
                if (!QTest::qWaitFor(
                        [&] { return list->model()->rowCount(list->rootIndex()) > 0; }))
                    return;
                const QModelIndex folder = list->model()->index(0, 0, list->rootIndex());
                type = folder.siblingAtColumn(2).data().toString();
                date = folder.siblingAtColumn(3).data().toString();
            }
            for (QWidget *widget : modal->findChildren<QWidget *>()) {
                const QAccessibleInterface *named = QAccessible::queryAccessibleInterface(widget);
                const QString name = named ? named->text(QAccessible::Name) : QString();
                if (!name.startsWith('/') && name.contains(QRegularExpression("[A-Za-z]{2,}")))
                    english.append(name);
            }
            modal->reject();
        };
        QTimer::singleShot(0, this, readModal);
        QVERIFY(!FileSaveDialog().askPath(nullptr, "Создание", "Имя (*)"));
        qputenv("HOME", ownHome);
        QTimer::singleShot(0, this, readModal);
        QWidget panel;
        MessageBoxMessages messages;
        messages.setOwner(&panel);
        messages.showInformation("Все исполненно", "Каталог создан в папке с длинным "
                                                   "именем, которое раздвигает окно");
        QVERIFY2(offCentre.manhattanLength() <= 1, qPrintable(QString("off by %1, %2")
                                                                  .arg(offCentre.x())
                                                                  .arg(offCentre.y())));
        QVERIFY2(english.isEmpty(), qPrintable(english.join(" | ")));
        QCOMPARE(type, "Папка");
        QVERIFY2(!date.isEmpty() && !date.contains(QRegularExpression("[A-Za-z]")),
                 qPrintable(date));
    }

    // On the screen that holds it, else on the primary, moved the least; a
    // window with an owner on its owner's screen, from that screen's corner.
    void placement_data()
    {
        QTest::addColumn<QRect>("client");
        QTest::addColumn<QRect>("available"); // the primary's, from its top left
        QTest::addColumn<QRect>("second");    // another screen, right of it
        QTest::addColumn<QRect>("owner");     // the panel's place, for Help and About
        QTest::addColumn<QPoint>("placed");
        const QRect panel(683, 127, 81, 523), screen(0, 0, 1024, 768), help(495, 161, 381, 355);
        // clang-format off
        QTest::newRow("fits: stays") << panel << screen << QRect() << QRect() << QPoint(683, 127);
        QTest::newRow("1024 x 600: up by the least") << panel << QRect(0, 0, 1024, 600) << QRect() << QRect() << QPoint(683, 76);
        QTest::newRow("below a top bar") << panel << QRect(0, 30, 1024, 570) << QRect() << QRect() << QPoint(683, 76);
        QTest::newRow("narrow: left by the least") << panel << QRect(0, 0, 640, 768) << QRect() << QRect() << QPoint(558, 127);
        QTest::newRow("too tall below a top bar: its edge shows") << QRect(683, 127, 81, 1046) << QRect(0, 30, 1024, 738) << QRect() << QRect() << QPoint(683, 50);
        QTest::newRow("too tall: top edge shows") << QRect(683, 127, 81, 1046) << screen << QRect() << QRect() << QPoint(683, 20);
        QTest::newRow("left of the screen") << QRect(-50, 127, 81, 523) << screen << QRect() << QRect() << QPoint(1, 127);
        QTest::newRow("on a second screen: stays") << QRect(1707, 127, 81, 523) << screen << QRect(1024, 0, 1024, 768) << QRect() << QPoint(1707, 127);
        QTest::newRow("low on a second screen: up on it") << QRect(1707, 300, 81, 523) << screen << QRect(1024, 0, 1024, 600) << QRect() << QPoint(1707, 76);
        QTest::newRow("on no screen: to the primary") << QRect(3000, 127, 81, 523) << screen << QRect(1024, 0, 1024, 768) << QRect() << QPoint(942, 127);
        QTest::newRow("Help beside the panel on the primary: as stored") << help << screen << QRect(1024, 0, 1024, 768) << panel << QPoint(495, 161);
        QTest::newRow("Help beside the panel on a second screen: on it") << help << screen << QRect(1024, 0, 1024, 768) << QRect(1707, 127, 81, 523) << QPoint(1519, 161);
        QTest::newRow("Help beside the panel on a short second screen: fitted there") << help << screen << QRect(1024, 0, 1024, 400) << QRect(1707, 100, 81, 200) << QPoint(1519, 44);
        QTest::newRow("Help beside a panel on no screen: on the primary") << help << screen << QRect(1024, 0, 1024, 768) << QRect(3000, 127, 81, 523) << QPoint(495, 161);
        // clang-format on
    }

    void placement()
    {
        QFETCH(QRect, client);
        QFETCH(QRect, available);
        QFETCH(QRect, second);
        QFETCH(QRect, owner);
        QFETCH(QPoint, placed);
        QList<ScreenPlacement::Screen> screens{
            {{0, 0, available.right() + 1, available.bottom() + 1}, available}};
        if (!second.isNull())
            screens.append({second, second});
        QCOMPARE(ScreenPlacement::placeOn(screens, client, {1, 20, 1, 1}, owner),
                 QRect(placed, client.size()));
    }

    void picturesForDenseScreens()
    {
        const auto tile = [](qreal ratio) { return Pictures::letterTile(192, ratio); };
        for (const auto &picture : std::initializer_list<std::function<QPixmap(qreal)>>{
                 Pictures::eraser, Pictures::dragIcon, Pictures::helpPicture, tile}) {
            QCOMPARE(picture(2).size(), picture(1).size() * 2);
            QCOMPARE(picture(2).devicePixelRatio(), 2.0);
        }
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
        m_form->Frame1()->show();
        const QList<LetterTile *> tiles = m_form->Frame1()->tiles();
        QCOMPARE(tabFrom(m_form->Command1(10)), tiles.first());
        QCOMPARE(tabFrom(tiles.last()), m_form->Command1(11));
        m_form->Frame1()->hide();
        QCOMPARE(tabFrom(m_form->Command1(10)), m_form->Command1(11));

        m_form->Command1_OLEDragDrop(4, {{path("Games"), true}});
        const auto said = [](QWidget *widget) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(widget);
            return QString::number(a->role()) + ' ' + a->text(QAccessible::Name);
        };
        const QString button = QString::number(QAccessible::Button) + ' ';
        QCOMPARE(said(m_form->Command1(3)), button + "Пустая кнопка");
        QCOMPARE(said(m_form->Command1(4)), button + "Папка Games");
        m_form->Command1_DragDrop(5, m_form->Picture3()); // cleared: " "
        for (int k : {3, 5}) {
            const QString more = QAccessible::queryAccessibleInterface(m_form->Command1(k))
                                     ->text(QAccessible::Description);
            QVERIFY2(more.trimmed().size() > 1, qPrintable(more));
        }
        // The letters in the order they stand; the pictures outside the
        // window not there to be read.
        QAccessibleInterface *row = QAccessible::queryAccessibleInterface(m_form->Frame1());
        QCOMPARE(row->child(0)->text(QAccessible::Name), "А");
        QCOMPARE(row->child(row->childCount() - 1)->text(QAccessible::Name), "Я");
        QVERIFY(QAccessible::queryAccessibleInterface(m_form->picDocument())->state().invisible);
    }

    // Each tile, drawn once the row shows, opens its letter's folder of the
    // catalogue clicked last, and leaves the row shown.
    void letterTiles()
    {
        QStringList entries = emptyStore();
        entries[1] = path("Arch"), entries[13] = " Arch";
        entries[2] = path("Other"), entries[14] = " Other";
        startPanelOn(entries);
        showPanel(); // the tiles are drawn as the row first shows, not before
        QVERIFY(m_form->Picture1(1)->picture().isNull());
        m_form->Command1(1)->click();
        QVERIFY(!m_form->Picture1(32)->picture().isNull());
        m_desktop->opener.opened.clear();
        for (LetterTile *tile : m_form->Frame1()->tiles())
            press(tile, Qt::LeftButton);
        QCOMPARE(m_desktop->opener.opened, catalogueFolders(entries[1]).mid(1));
        QVERIFY(!m_form->Frame1()->isHidden());
        // Where А and Б overlap, А is on top, for the pointer too.
        QCOMPARE(m_form->Frame1()->childAt(5, 21), m_form->Picture1(1));
        m_form->Command1_Click(2); // not a catalogue: the row opens in it now
        m_form->Picture1_Click(11);
        QCOMPARE(m_desktop->opener.opened.last(), entries[2] + "/К");
        QTest::keyClick(m_form->Picture1(32), Qt::Key_Space); // from the keyboard too
        QCOMPARE(m_desktop->opener.opened.last(), entries[2] + "/Я");
        const qsizetype opens = m_desktop->opener.opened.size();
        for (bool repeat : {false, true, true}) { // Enter held
            QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, {}, repeat);
            QApplication::sendEvent(m_form->Picture1(1), &held);
        }
        QCOMPARE(m_desktop->opener.opened.mid(opens), QStringList{entries[2] + "/А"});
    }

private:
    // A panel on a fake desktop and a store in memory; m_dir holds whatever real
    // targets a test drops or clicks.
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    // A fresh panel on the store as it stands (missing unless written); with
    // late, the disk's answers wait for the test.
    void startPanel(bool late = false)
    {
        m_form.reset();
        m_desktop = std::make_unique<FakeDesktop>();
        m_desktop->targets.holding = late;
        m_form = std::make_unique<ShowIconsForm>(m_desktop->services(), m_store);
        m_form->Form_Load();
    }
    void showPanel()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    // A fresh panel on a store of these entries.
    void startPanelOn(const QStringList &entries, bool late = false)
    {
        m_store.bytes = StoreFile::serialise(entries);
        QVERIFY(m_store.bytes);
        startPanel(late);
    }

    QTemporaryDir m_dir;
    MemoryStore m_store;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<ShowIconsForm> m_form;
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
