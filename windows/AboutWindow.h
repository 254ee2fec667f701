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

    QLabel *authors() const { return m_authors; }
    QLabel *siteCaption() const { return m_siteCaption; }
    ClickableLabel *siteLink() const { return m_siteLink; }

    // Asks the desktop to open exactly the address the link shows.
    void openSite();

private:
    ShellOpener &m_opener;
    QLabel *m_authors;
    QLabel *m_siteCaption;
    ClickableLabel *m_siteLink;
};
