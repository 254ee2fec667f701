// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxMessages.h"

#include <QMessageBox>

void MessageBoxMessages::showWarning(const QString &title, const QString &text)
{
    QMessageBox::warning(nullptr, title, text);
}

void MessageBoxMessages::showInformation(const QString &title, const QString &text)
{
    // A label breaks lines at LF; a CR would show as a stray mark.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox::information(nullptr, title, shown);
}
