// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxMessages.h"

#include <QMessageBox>

void MessageBoxMessages::showWarning(const QString &title, const QString &text)
{
    QMessageBox::warning(nullptr, title, text);
}
