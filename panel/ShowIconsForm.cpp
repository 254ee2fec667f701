// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShowIconsForm.h"

#include "EraserPicture.h"
#include "SlotButton.h"
#include "catalogue/LetterRow.h"
#include "catalogue/LetterTile.h"
#include "images/Pictures.h"
#include "support/Pause.h"
#include "support/SaveDialog.h"
#include "support/widgets/ScreenPlacement.h"
#include "support/x11/ClipboardFiles.h"
#include "support/x11/WindowHints.h"
#include "windows/AboutWindow.h"
#include "windows/HelpWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>

namespace {

// Positions are the layout's pixels at 96 dpi; Qt scales them on dense screens.
constexpr QRect ClientArea(QPoint(683, 127), ShowIconsForm::ClientSize);
constexpr QRect Text1Box(0, -2, 77, 43);
constexpr int SlotLeft = 8;
constexpr int SlotSide = 37;
constexpr int FirstSlotTop = 44;
constexpr int SlotStep = 38;
constexpr QRect Frame1Box(45, 42, 37, 475);
constexpr QRect Picture3Box(10, 498, 24, 24);
constexpr QRect PicDocumentBox(28, 536, 16, 16);
constexpr QRect Picture2Box(124, 428, 25, 15);
constexpr int LockMilliseconds = 1000;

QLabel *pictureBox(QWidget *parent, const QRect &box, const QPixmap &picture)
{
    auto *label = new QLabel(parent);
    label->setGeometry(box);
    if (!picture.isNull())
        label->setPixmap(picture);
    return label;
}

} // namespace

ShowIconsForm::ShowIconsForm(const DesktopServices &desktop, StoreMedium &store, QWidget *parent)
    : FixedWindow(parent, {Title, ClientArea, Qt::black, TitleBar::CloseBoxAndMenu}, false)
    , m_desktop(desktop)
    , m_board(desktop, store, *this)
{
    keepFixed();
    setMouseTracking(true);
    buildWidgets();
    buildMenu();
    setFocusOrder();
}

ShowIconsForm::~ShowIconsForm() = default;

void ShowIconsForm::buildWidgets()
{
    // The clipboard is asked without waiting: its owner may never answer.
    m_clipboard = new ClipboardFiles(this);
    connect(m_clipboard, &ClipboardFiles::read, this,
            [this](int k, const QString &format, const QByteArray &list) {
                QMimeData copied;
                copied.setData(format, list);
                Command1_OLEDragDrop(k, copiedFiles(&copied));
            });
    m_text1 = new QPlainTextEdit(this);
    m_text1->setGeometry(Text1Box);
    m_text1->setReadOnly(true);
    // The panel's own menu, not the text box's, from the keyboard too.
    m_text1->setContextMenuPolicy(Qt::NoContextMenu);
    m_text1->setFrameShape(QFrame::NoFrame);
    m_text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_text1->setAccessibleName(QStringLiteral("Подпись кнопки под указателем"));
    m_text1->document()->setDocumentMargin(2);
    QFont hoverFont(QStringLiteral("Microsoft Sans Serif"));
    hoverFont.setPointSizeF(8.25);
    m_text1->setFont(hoverFont);
    QPalette hover = m_text1->palette();
    hover.setColor(QPalette::Base, Qt::black);
    hover.setColor(QPalette::Text, QColor(0, 255, 0));
    m_text1->setPalette(hover);

    const QColor tooltipGround = QApplication::palette().color(QPalette::ToolTipBase);
    for (int k = 1; k <= SlotList::SlotCount; ++k) {
        auto *slot = new SlotButton(k, this);
        slot->setGeometry(SlotLeft, FirstSlotTop + SlotStep * (k - 1), SlotSide, SlotSide);
        slot->setBackColor(k == 1 ? QColor::fromRgb(PlainColour) : tooltipGround);
        m_slots[k - 1] = slot;
        connect(slot, &SlotButton::filesDropped, this,
                qOverload<int, const QList<DroppedFile> &>(&ShowIconsForm::Command1_OLEDragDrop));
        connect(slot, &SlotButton::eraserDraggedOver, this, &ShowIconsForm::Command1_DragOver);
        connect(slot, &SlotButton::eraserDropped, this, &ShowIconsForm::Command1_DragDrop);
        connect(slot, &SlotButton::clicked, this, [this, k] {
            if (!Command1(k)->isLocked())
                Command1_Click(k);
        });
        connect(slot, &SlotButton::mouseMoved, this, &ShowIconsForm::Command1_MouseMove);
        connect(slot, &SlotButton::mousePressed, this, &ShowIconsForm::Command1_MouseDown);
        // From the keyboard, the clipboard's files stand for a drop, Delete
        // for the eraser.
        connect(slot, &SlotButton::pasteKeyPressed, m_clipboard, &ClipboardFiles::ask);
        connect(slot, &SlotButton::deleteKeyPressed, this,
                [this](int k) { Command1_DragDrop(k, m_picture3); });
    }

    m_frame1 = new LetterRow(this);
    m_frame1->setGeometry(Frame1Box);
    m_frame1->hide();
    connect(m_frame1, &LetterRow::tileClicked, this, &ShowIconsForm::Picture1_Click);

    m_picture3 = new EraserPicture(this);
    m_picture3->setGeometry(Picture3Box);
    m_picture3->setPixmap(Pictures::eraser());
    m_picture3->setToolTip(QStringLiteral("Резинка (Перетащи и бось для очистки кнопки)"));
    m_picture3->setAccessibleName(m_picture3->toolTip());
    m_picture3->raise(); // over the bottom row of slot 12

    // Both lie outside the window and are never seen: hidden, so that
    // neither a screen reader nor a window stretched by its manager shows them.
    m_picDocument = pictureBox(this, PicDocumentBox, Pictures::dragIcon());
    m_picDocument->hide();
    m_picture2 = pictureBox(this, Picture2Box, QPixmap());
    m_picture2->hide();
    m_picture2->setToolTip(QStringLiteral("Резинка для очистки кнопки"));
}

void ShowIconsForm::setFocusOrder()
{
    QList<QWidget *> order;
    for (int k = 1; k <= 10; ++k)
        order.append(Command1(k));
    for (LetterTile *tile : m_frame1->tiles())
        order.append(tile);
    order.append(Command1(11));
    order.append(Command1(12));
    order.append(m_text1);
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    Command1(1)->setFocus();
}

LetterTile *ShowIconsForm::Picture1(int index) const
{
    return m_frame1->tile(index);
}

void ShowIconsForm::buildMenu()
{
    // Never a menu bar: the window's one menu serves as its context menu.
    m_direkt = new QMenu(QStringLiteral("PopupMenu"), this);
    m_direkt->addAction(QStringLiteral("Создать каталог папок"), this,
                        &ShowIconsForm::sozdat_Click);
    m_direkt->addAction(QStringLiteral("Справка"), this, &ShowIconsForm::spr_Click);
    m_direkt->addAction(QStringLiteral("О программе"), this, &ShowIconsForm::prog_Click);
}

void ShowIconsForm::Form_Load()
{
    // Changing flags re-creates the native window and forgets where the client
    // area was placed, so place it again.
    setOnTop(true);
    ScreenPlacement::place(this, ClientArea);
    WindowManager::showOnEveryWorkspace(this);
    m_board.load();
}

void ShowIconsForm::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over child widgets that do not take them arrive here too; only the
    // bare surface counts.
    if (!childAt(event->position().toPoint()))
        Form_MouseMove(int(event->buttons()));
}

void ShowIconsForm::mousePressEvent(QMouseEvent *event)
{
    if (!childAt(event->position().toPoint()))
        Form_MouseDown(int(event->button()));
}

void ShowIconsForm::contextMenuEvent(QContextMenuEvent *event)
{
    // The mouse's menu comes with the right button's press; this is the
    // keyboard's (the Menu key), at the widget that has the focus.
    if (event->reason() == QContextMenuEvent::Keyboard)
        PopupMenu(focusPoint());
    else
        event->ignore();
}

void ShowIconsForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)
        PopupMenu(focusPoint());
    else
        FixedWindow::keyPressEvent(event);
}

QPoint ShowIconsForm::focusPoint() const
{
    const QWidget *focus = QApplication::focusWidget();
    if (!focus || !isAncestorOf(focus))
        focus = this;
    return focus->mapToGlobal(focus->rect().center());
}

void ShowIconsForm::closeEvent(QCloseEvent *event)
{
    event->accept();
    Form_Unload();
}

void ShowIconsForm::Form_Unload()
{
    // A drop still waiting for its disk is stored as dropped; everything else
    // is saved already. The other windows go with the panel, and every event
    // loop ends, a running pause's too.
    Q_EMIT closeStarted();
    m_board.closing();
    QCoreApplication::exit(0);
}

void ShowIconsForm::Command1_OLEDragDrop(int k, const QList<DroppedFile> &files)
{
    m_board.drop(k, files);
}

void ShowIconsForm::Command1_DragOver(int, QObject *source)
{
    if (source == m_picture3)
        m_picture3->setDragIcon(m_picDocument->pixmap());
}

void ShowIconsForm::Command1_DragDrop(int k, QObject *source)
{
    if (source == m_picture3)
        m_board.erase(k);
}

void ShowIconsForm::Command1_Click(int index)
{
    m_board.click(index);
    // Other handlers, this window's closing among them, may run during the
    // lock; the button may be gone when it ends.
    const QPointer<SlotButton> button = Command1(index);
    button->setLocked(true);
    m_desktop.pause.wait(LockMilliseconds);
    if (button)
        button->setLocked(false);
}

void ShowIconsForm::Picture1_Click(int index)
{
    m_board.openLetter(index);
}

void ShowIconsForm::Command1_MouseMove(int index, int)
{
    m_board.hover(index);
}

void ShowIconsForm::Form_MouseMove(int)
{
    m_board.hover(0);
}

void ShowIconsForm::Command1_MouseDown(int, int button)
{
    if (button & Qt::RightButton)
        PopupMenu(QCursor::pos());
}

void ShowIconsForm::Form_MouseDown(int button)
{
    if (button & Qt::RightButton)
        PopupMenu(QCursor::pos());
}

void ShowIconsForm::PopupMenu(const QPoint &at)
{
    m_direkt->exec(at);
}

void ShowIconsForm::sozdat_Click()
{
    // Owned by the About window, made for it and not shown.
    if (const std::optional<QString> path = m_desktop.saveDialog.askPath(
            aboutWindow(), QStringLiteral("Создание и сохранение каталога"),
            QStringLiteral("Введите название папки(Каталога) (*)")))
        m_board.createCatalogue(*path);
}

void ShowIconsForm::spr_Click()
{
    if (!m_help) {
        m_help = new HelpWindow(this);
    }
    showAbove(m_help);
}

void ShowIconsForm::prog_Click()
{
    showAbove(aboutWindow());
}

void ShowIconsForm::showAbove(QWidget *window)
{
    if (!window->isVisible())
        ScreenPlacement::followOwner(window);
    window->show();
    // After showing: Qt's own mapping of a window clears the hint.
    WindowManager::keepAboveOwner(window, this);
    window->raise();
    window->activateWindow();
}

AboutWindow *ShowIconsForm::aboutWindow()
{
    if (!m_form1) {
        // Above the panel, as the save dialog it owns is above it.
        m_form1 = new AboutWindow(m_desktop.opener, this);
    }
    return m_form1;
}

void ShowIconsForm::Store_Changed()
{
    m_board.storeChanged();
}

void ShowIconsForm::showCaption(int slot, const QString &caption, const QString &spokenName,
                                const QString &spokenDescription)
{
    Command1(slot)->setCaption(caption, spokenName, spokenDescription);
}

void ShowIconsForm::showPicture(int slot, const QIcon &picture)
{
    Command1(slot)->setPicture(picture);
}

void ShowIconsForm::showErasedPicture(int slot)
{
    Command1(slot)->setPicture(QIcon(m_picture2->pixmap()));
}

QString ShowIconsForm::title() const
{
    return Title;
}

void ShowIconsForm::markSlot(int slot)
{
    for (int k = 1; k <= SlotList::SlotCount; ++k)
        Command1(k)->setBackColor(QColor::fromRgb(k == slot ? MarkedColour : PlainColour));
}

void ShowIconsForm::showLetterRow(bool shown)
{
    m_frame1->setVisible(shown);
}

void ShowIconsForm::showHoverText(const QString &text)
{
    m_text1->setPlainText(text);
}

void ShowIconsForm::takeDrops(bool taken)
{
    for (int k = 1; k <= SlotList::SlotCount; ++k)
        Command1(k)->setAcceptDrops(taken);
}
