// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QKeyEvent>

// Tells a key held down from one pressed again. Auto-repeat comes as
// releases and presses of the same moment, and Qt does not always pair them
// up when the machine is busy: a press that follows its own key's release
// within a few milliseconds only repeats it.
class HeldKeys
{
public:
    bool repeats(const QKeyEvent *press) const
    {
        return press->isAutoRepeat() ||
               (press->key() == m_key && m_released != 0 && press->timestamp() != 0 &&
                press->timestamp() - m_released <= RepeatGapMilliseconds);
    }
    // Enter, on the main keys or the keypad, clicks the button as Space
    // does, once however long it is held: true when the press was Enter's.
    bool clickOnEnter(QAbstractButton *button, const QKeyEvent *press) const
    {
        if (press->key() != Qt::Key_Return && press->key() != Qt::Key_Enter)
            return false;
        if (!repeats(press))
            button->click();
        return true;
    }
    void released(const QKeyEvent *release)
    {
        m_key = release->key();
        m_released = release->timestamp();
    }

private:
    static constexpr quint64 RepeatGapMilliseconds = 5;
    int m_key = 0;
    quint64 m_released = 0;
};
