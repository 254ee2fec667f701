// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/UserMessages.h"

#include <QStringList>

// Keeps what the panel told the user instead of showing it.
class RecordingMessages : public UserMessages {
public:
    void showWarning(const QString &title, const QString &text) override {
        titles.append(title);
        texts.append(text);
    }

    QStringList titles;
    QStringList texts;
};
