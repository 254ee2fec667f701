// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SlotBoard.h"
#include "SlotView.h"
#include "drops/DroppedFiles.h"
#include "support/DesktopServices.h"
#include "windows/FixedWindow.h"

#include <QSize>

#include <array>

class AboutWindow;
class EraserPicture;
class HelpWindow;
class LetterRow;
class LetterTile;
class QLabel;
class QMenu;
class StoreMedium;
class QPlainTextEdit;
class SlotButton;
class ClipboardFiles;

// The panel: a narrow black column, always above other windows, with the hover
// text, twelve slots, the hidden letter row and the eraser. What its handlers
// do to the store and the slots is the board's to decide, and the panel shows
// it.

class ShowIconsForm : public FixedWindow, private SlotView
{
    Q_OBJECT

public:
    static constexpr QRgb PlainColour = 0xFFFFFFC0;  // red 255, green 255, blue 192
    static constexpr QRgb MarkedColour = 0xFFFF0000; // pure red
    static inline const QString Title = QStringLiteral("КаталогOrlanta");
    static constexpr QSize ClientSize{81, 523};

    // The store must outlive the window.
    ShowIconsForm(const DesktopServices &desktop, StoreMedium &store, QWidget *parent = nullptr);

    // Runs once before the window is first shown: keeps the window on top,
    // creates the store if it is missing, loads it and fills the slots.
    // A store that cannot be made or read is reported, and the slots keep
    // their initial state.
    void start();

    // Files dropped from another program on slot k, as the slot read them
    // from the drop: the last is assigned to the slot once the disk has said
    // whether it is a file or a folder. A name the store cannot hold is
    // refused, and the user told.
    void dropFiles(int k, const QList<DroppedFile> &files);
    // A control of this window dragged over or dropped on slot k; only the
    // eraser does anything.
    void controlDraggedOver(int k, QObject *source);
    void controlDropped(int k, QObject *source);
    // Marks the slot, opens its target (or shows the letter row for a
    // catalogue) and locks the button for a second while the window stays
    // live. Whether a folder is a catalogue is the disk's to say: the row, or
    // the open, follows its answer however long it takes.
    void openSlot(int index);

    // Opens the letter's subfolder of the catalogue clicked last.
    void openLetter(int index);

    // The hover text follows the pointer: a slot's caption over a slot, empty
    // over the bare window surface. Button is the set of buttons held
    // (1 left, 2 right, 4 middle).
    void hoverSlot(int index, int button);
    void hoverSurface(int button);
    // A right-button press on a slot or on the bare surface opens the menu.
    void pressSlot(int index, int button);
    void pressSurface(int button);

    // The menu's items: create a catalogue, show Help, show About.
    void createCatalogue();
    void showHelp();
    void showAbout();

    // The store was changed on disk: the slots show what it holds now, if it
    // holds a whole list.
    void reloadStore();

    QString currentPath() const { return m_board.currentPath(); }
    // Null until first needed.
    AboutWindow *about() const { return m_about; }
    HelpWindow *help() const { return m_help; }

    SlotButton *slotButton(int k) const { return m_slots.at(k - 1); }
    LetterRow *letterRow() const { return m_letterRow; }
    // Null for the indexes without a letter (10, 27, 28, 29).
    LetterTile *letterTile(int index) const;
    EraserPicture *eraser() const { return m_eraser; }
    QLabel *dragPicture() const { return m_dragPicture; }
    QPlainTextEdit *hoverText() const { return m_hoverText; }
    const SlotList &slotList() const { return m_board.list(); }

    ~ShowIconsForm() override;

Q_SIGNALS:
    // The panel has begun to close, and goes once its last saves are done.
    void closeStarted();

protected:
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void buildWidgets();
    void buildMenu();
    void popUpMenu(const QPoint &at);
    // The middle of the widget that has the focus, on the screen.
    QPoint focusPoint() const;
    // The About window, made unseen if it does not exist yet.
    AboutWindow *aboutWindow();
    // Shows a window of the panel's above the panel, with the focus.
    void showAbove(QWidget *window);
    void setFocusOrder();
    void finishClosing();

    void showCaption(int slot, const QString &caption, const QString &spokenName,
                     const QString &spokenDescription) override;
    void showPicture(int slot, const QIcon &picture) override;
    void showErasedPicture(int slot) override;
    QString title() const override;
    void markSlot(int slot) override;
    void showLetterRow(bool shown) override;
    void showHoverText(const QString &text) override;
    void takeDrops(bool taken) override;

    DesktopServices m_desktop;
    ClipboardFiles *m_clipboard = nullptr;
    SlotBoard m_board;

    QPlainTextEdit *m_hoverText = nullptr;
    std::array<SlotButton *, SlotList::SlotCount> m_slots{};
    LetterRow *m_letterRow = nullptr;
    EraserPicture *m_eraser = nullptr;
    QLabel *m_dragPicture = nullptr;
    QLabel *m_erasedPicture = nullptr;
    QMenu *m_contextMenu = nullptr;
    // Made on first use; the panel, their Qt parent, owns them.
    AboutWindow *m_about = nullptr;
    HelpWindow *m_help = nullptr;
};
