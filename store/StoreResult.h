// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <system_error>

// The outcome of one operation on the store file: success, or the step that
// failed, the file it failed on and why. message() says it in Russian for the
// user.
class StoreResult
{
public:
    enum class Step { None, Create, Read, Write, ReadBack, Guard };

    static StoreResult success() { return {}; }
    static StoreResult failure(Step step, const QString &path, std::error_code reason);
    // A failure of the panel's own, its reason already in Russian.
    static StoreResult refusal(Step step, const QString &path, const QString &reason);

    bool ok() const { return m_step == Step::None; }
    // The disk did not answer before the panel closed.
    bool unanswered() const;
    Step step() const { return m_step; }
    // Why, in Russian.
    QString reason() const;

    // The Russian text shown to the user; empty on success.
    QString message() const;

private:
    Step m_step = Step::None;
    QString m_path;
    std::error_code m_reason;
    QString m_ownReason;
};
