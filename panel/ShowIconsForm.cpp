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
constexpr QRect HoverTextBox(0, -2, 77, 43);
constexpr int SlotLeft = 8;
constexpr int SlotSide = 37;
constexpr int FirstSlotTop = 44;
constexpr int SlotStep = 38;
constexpr QRect LetterRowBox(45, 42, 37, 475);
constexpr QRect EraserBox(10, 498, 24, 24);
constexpr QRect DragPictureBox(28, 536, 16, 16);
constexpr QRect ErasedPictureBox(124, 428, 25, 15);
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
                dropFiles(k, copiedFiles(&copied));
            });
    m_hoverText = new QPlainTextEdit(this);
    m_hoverText->setGeometry(HoverTextBox);
    m_hoverText->setReadOnly(true);
    // The panel's own menu, not the text box's, from the keyboard too.
    m_hoverText->setContextMenuPolicy(Qt::NoContextMenu);
    m_hoverText->setFrameShape(QFrame::NoFrame);
    m_hoverText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_hoverText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_hoverText->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_hoverText->setAccessibleName(QStringLiteral("Подпись кнопки под указателем"));
    m_hoverText->document()->setDocumentMargin(2);
    QFont hoverFont(QStringLiteral("Microsoft Sans Serif"));
    hoverFont.setPointSizeF(8.25);
    m_hoverText->setFont(hoverFont);
    QPalette hover = m_hoverText->palette();
    hover.setColor(QPalette::Base, Qt::black);
    hover.setColor(QPalette::Text, QColor(0, 255, 0));
    m_hoverText->setPalette(hover);

    const QColor tooltipGround = QApplication::palette().color(QPalette::ToolTipBase);
    for (int k = 1; k <= SlotList::SlotCount; ++k) {
        auto *slot = new SlotButton(k, this);
        slot->setGeometry(SlotLeft, FirstSlotTop + SlotStep * (k - 1), SlotSide, SlotSide);
        slot->setBackColor(k == 1 ? QColor::fromRgb(PlainColour) : tooltipGround);
        m_slots[k - 1] = slot;
        connect(slot, &SlotButton::filesDropped, this,
                qOverload<int, const QList<DroppedFile> &>(&ShowIconsForm::dropFiles));
        connect(slot, &SlotButton::eraserDraggedOver, this, &ShowIconsForm::controlDraggedOver);
        connect(slot, &SlotButton::eraserDropped, this, &ShowIconsForm::controlDropped);
        connect(slot, &SlotButton::clicked, this, [this, k] {
            if (!slotButton(k)->isLocked())
                openSlot(k);
        });
        connect(slot, &SlotButton::mouseMoved, this, &ShowIconsForm::hoverSlot);
        connect(slot, &SlotButton::mousePressed, this, &ShowIconsForm::pressSlot);
        // From the keyboard, the clipboard's files stand for a drop, Delete
        // for the eraser.
        connect(slot, &SlotButton::pasteKeyPressed, m_clipboard, &ClipboardFiles::ask);
        connect(slot, &SlotButton::deleteKeyPressed, this,
                [this](int k) { controlDropped(k, m_eraser); });
    }

    m_letterRow = new LetterRow(this);
    m_letterRow->setGeometry(LetterRowBox);
    m_letterRow->hide();
    connect(m_letterRow, &LetterRow::tileClicked, this, &ShowIconsForm::openLetter);

    m_eraser = new EraserPicture(this);
    m_eraser->setGeometry(EraserBox);
    m_eraser->setPixmap(Pictures::eraser());
    m_eraser->setToolTip(QStringLiteral("Резинка (Перетащи и бось для очистки кнопки)"));
    m_eraser->setAccessibleName(m_eraser->toolTip());
    m_eraser->raise(); // over the bottom row of slot 12

    // Both lie outside the window and are never seen: hidden, so that
    // neither a screen reader nor a window stretched by its manager shows them.
    m_dragPicture = pictureBox(this, DragPictureBox, Pictures::dragIcon());
    m_dragPicture->hide();
    m_erasedPicture = pictureBox(this, ErasedPictureBox, QPixmap());
    m_erasedPicture->hide();
    m_erasedPicture->setToolTip(QStringLiteral("Резинка для очистки кнопки"));
}

void ShowIconsForm::setFocusOrder()
{
    QList<QWidget *> order;
    for (int k = 1; k <= 10; ++k)
        order.append(slotButton(k));
    for (LetterTile *tile : m_letterRow->tiles())
        order.append(tile);
    order.append(slotButton(11));
    order.append(slotButton(12));
    order.append(m_hoverText);
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    slotButton(1)->setFocus();
}

LetterTile *ShowIconsForm::letterTile(int index) const
{
    return m_letterRow->tile(index);
}

void ShowIconsForm::buildMenu()
{
    // Never a menu bar: the window's one menu serves as its context menu.
    m_contextMenu = new QMenu(QStringLiteral("PopupMenu"), this);
    m_contextMenu->addAction(QStringLiteral("Создать каталог папок"), this,
                             &ShowIconsForm::createCatalogue);
    m_contextMenu->addAction(QStringLiteral("Справка"), this, &ShowIconsForm::showHelp);
    m_contextMenu->addAction(QStringLiteral("О программе"), this, &ShowIconsForm::showAbout);
}

void ShowIconsForm::start()
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
        hoverSurface(int(event->buttons()));
}

void ShowIconsForm::mousePressEvent(QMouseEvent *event)
{
    if (!childAt(event->position().toPoint()))
        pressSurface(int(event->button()));
}

void ShowIconsForm::contextMenuEvent(QContextMenuEvent *event)
{
    // The mouse's menu comes with the right button's press; this is the
    // keyboard's (the Menu key), at the widget that has the focus.
    if (event->reason() == QContextMenuEvent::Keyboard)
        popUpMenu(focusPoint());
    else
        event->ignore();
}

void ShowIconsForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)
        popUpMenu(focusPoint());
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
    finishClosing();
}

void ShowIconsForm::finishClosing()
{
    // A drop still waiting for its disk is stored as dropped; everything else
    // is saved already. The other windows go with the panel, and every event
    // loop ends, a running pause's too.
    Q_EMIT closeStarted();
    m_board.closing();
    QCoreApplication::exit(0);
}

void ShowIconsForm::dropFiles(int k, const QList<DroppedFile> &files)
{
    m_board.drop(k, files);
}

void ShowIconsForm::controlDraggedOver(int, QObject *source)
{
    if (source == m_eraser)
        m_eraser->setDragIcon(m_dragPicture->pixmap());
}

void ShowIconsForm::controlDropped(int k, QObject *source)
{
    if (source == m_eraser)
        m_board.erase(k);
}

void ShowIconsForm::openSlot(int index)
{
    m_board.click(index);
    // Other handlers, this window's closing among them, may run during the
    // lock; the button may be gone when it ends.
    const QPointer<SlotButton> button = slotButton(index);
    button->setLocked(true);
    m_desktop.pause.wait(LockMilliseconds);
    if (button)
        button->setLocked(false);
}

void ShowIconsForm::openLetter(int index)
{
    m_board.openLetter(index);
}

void ShowIconsForm::hoverSlot(int index, int)
{
    m_board.hover(index);
}

void ShowIconsForm::hoverSurface(int)
{
    m_board.hover(0);
}

void ShowIconsForm::pressSlot(int, int button)
{
    if (button & Qt::RightButton)
        popUpMenu(QCursor::pos());
}

void ShowIconsForm::pressSurface(int button)
{
    if (button & Qt::RightButton)
        popUpMenu(QCursor::pos());
}

void ShowIconsForm::popUpMenu(const QPoint &at)
{
    m_contextMenu->exec(at);
}

void ShowIconsForm::createCatalogue()
{
    // Owned by the About window, made for it and not shown.
    if (const std::optional<QString> path = m_desktop.saveDialog.askPath(
            aboutWindow(), QStringLiteral("Создание и сохранение каталога"),
            QStringLiteral("Введите название папки(Каталога) (*)")))
        m_board.createCatalogue(*path);
}

void ShowIconsForm::showHelp()
{
    if (!m_help) {
        m_help = new HelpWindow(this);
    }
    showAbove(m_help);
}

void ShowIconsForm::showAbout()
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
    if (!m_about) {
        // Above the panel, as the save dialog it owns is above it.
        m_about = new AboutWindow(m_desktop.opener, this);
    }
    return m_about;
}

void ShowIconsForm::reloadStore()
{
    m_board.storeChanged();
}

void ShowIconsForm::showCaption(int slot, const QString &caption, const QString &spokenName,
                                const QString &spokenDescription)
{
    slotButton(slot)->setCaption(caption, spokenName, spokenDescription);
}

void ShowIconsForm::showPicture(int slot, const QIcon &picture)
{
    slotButton(slot)->setPicture(picture);
}

void ShowIconsForm::showErasedPicture(int slot)
{
    slotButton(slot)->setPicture(QIcon(m_erasedPicture->pixmap()));
}

QString ShowIconsForm::title() const
{
    return Title;
}

void ShowIconsForm::markSlot(int slot)
{
    for (int k = 1; k <= SlotList::SlotCount; ++k)
        slotButton(k)->setBackColor(QColor::fromRgb(k == slot ? MarkedColour : PlainColour));
}

void ShowIconsForm::showLetterRow(bool shown)
{
    m_letterRow->setVisible(shown);
}

void ShowIconsForm::showHoverText(const QString &text)
{
    m_hoverText->setPlainText(text);
}

void ShowIconsForm::takeDrops(bool taken)
{
    for (int k = 1; k <= SlotList::SlotCount; ++k)
        slotButton(k)->setAcceptDrops(taken);
}
