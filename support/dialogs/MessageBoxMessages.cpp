// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxMessages.h"

#include "support/widgets/ScreenPlacement.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

// A message box takes its final size from its text as it is shown, so it is
// centred again then; centred before too, it never shows first at Qt's own
// place over the panel.
class CentredMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        ScreenPlacement::centreOnOwnersScreen(this, parentWidget());
    }
};

void show(QWidget *owner, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    // A label breaks lines at LF; a CR would show as a stray mark. Names in
    // the text are shown as they are, never as markup.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    CentredMessageBox box(icon, title, shown, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    // Qt's themes write the button in Latin letters, untranslated; Russian
    // dialogs write it in Cyrillic.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("ОК"));
    // Above the panel, which stays above all else, whatever the window
    // manager makes of an owner (there is none before the panel is up).
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    // On the panel's screen; Qt would centre it over the panel itself.
    ScreenPlacement::centreOnOwnersScreen(&box, owner);
    box.exec();
}

} // namespace

void MessageBoxMessages::showWarning(const QString &title, const QString &text)
{
    show(m_owner, QMessageBox::Warning, title, text);
}

void MessageBoxMessages::showInformation(const QString &title, const QString &text)
{
    show(m_owner, QMessageBox::Information, title, text);
}
