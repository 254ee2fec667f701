// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FixedWindow.h"

class QLabel;

// A picture of a finished catalogue and eleven lines on how to use the panel.
// It only shows; it has no taskbar entry.
class HelpWindow : public FixedWindow
{
    Q_OBJECT

public:
    // The eleven lines, each ended by CR LF; lines 5 and 10 end in a blank.
    static const QString Text;

    // With an owner the window stays above it (it is transient for it).
    explicit HelpWindow(QWidget *owner = nullptr);

    QLabel *picture() const { return m_picture; }
    QLabel *helpText() const { return m_text; }

private:
    QLabel *m_picture;
    QLabel *m_text;
};
