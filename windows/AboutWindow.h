// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FixedWindow.h"

class ClickableLabel;
class QLabel;
class ShellOpener;

// Who wrote the program, and its web address as a link that the desktop
// opens. It may exist unseen: it owns the catalogue save dialog.
class AboutWindow : public FixedWindow
{
    Q_OBJECT

public:
    static inline const QString Address = QStringLiteral("http://katalog.example.org/");

    // With an owner the window stays above it (it is transient for it).
    explicit AboutWindow(ShellOpener &opener, QWidget *owner = nullptr);

    QLabel *Label1() const { return m_label1; }
    QLabel *Label2() const { return m_label2; }
    ClickableLabel *Label3() const { return m_label3; }

    // Asks the desktop to open exactly the address the link shows.
    void Label3_Click();

private:
    ShellOpener &m_opener;
    QLabel *m_label1;
    QLabel *m_label2;
    ClickableLabel *m_label3;
};
