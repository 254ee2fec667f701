// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

// A window of the program's: its title, the alphabet-blocks icon, a client
// area of fixed size at a fixed place and a plain background; in its title
// bar a close box, and the window menu where the window has one, never a
// maximise or minimise button.
class FixedWindow : public QWidget
{
public:
    enum class TitleBar { CloseBox, CloseBoxAndMenu };
    struct Look
    {
        QString title;
        QRect clientArea;
        QColor background;
        TitleBar bar;
    };

    // Above other windows when onTop.
    FixedWindow(QWidget *owner, const Look &look, bool onTop);

    static Qt::WindowFlags flags(TitleBar bar, bool onTop);

protected:
    // Puts the window above other windows, or lets others cover it.
    void setOnTop(bool onTop);
    // The window stays as it is: asked to maximise, go full screen or
    // minimise, or resized by its manager, it goes back to its size and
    // place. Once mapped, it is fitted to the screen again with its real
    // frame, and Qt is told where the window really is when its manager said
    // otherwise.
    void keepFixed();
    // Escape closes the window, as it does a dialog.
    void closeOnEscape();

private:
    TitleBar m_bar;
};
