// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The outcome of one operation on the store file: success, or the step that
// failed, the file it failed on and the system's reason. Only the window turns
// a failure into a message for the user.
class StoreResult
{
public:
    enum class Step { None, Create, Read, Write, ReadBack, Guard };

    static StoreResult success() { return {}; }
    static StoreResult failure(Step step, const QString &path, const QString &reason);

    bool ok() const { return m_step == Step::None; }
    Step step() const { return m_step; }
    QString reason() const { return m_reason; }

    // The Russian text shown to the user; empty on success.
    QString message() const;

private:
    Step m_step = Step::None;
    QString m_path;
    QString m_reason;
};
