// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// What waits for the disk's answer about a target: drops, to be stored once
// it says file or folder, and clicks on folders, to show the letter row or
// open once it says whether the folder is a catalogue. One drop a slot (a
// later one replaces it) and one click a path (a later one joins it).
class TargetWaits
{
public:
    void addDrop(int slot, const QString &path) { m_drops.insert(slot, path); }
    void cancelDrop(int slot) { m_drops.remove(slot); }
    // Takes slot's drop out of waiting, if it is still this path's.
    bool takeDrop(int slot, const QString &path)
    {
        return m_drops.value(slot) == path && m_drops.remove(slot);
    }
    QList<int> waitingDrops() const { return m_drops.keys(); }
    QString droppedPath(int slot) const { return m_drops.value(slot); }
    // Numbers the click; the number of the last one is lastClick().
    void addClick(const QString &path) { m_waitingClicks.insert(path, ++m_clicks); }
    // A click that waits for nothing still counts as the last.
    void addPlainClick() { ++m_clicks; }
    int lastClick() const { return m_clicks; }

    // What the answer about path settles, taken out of waiting: the slots
    // whose drops it completes, and the number of the click it answers.
    struct Settled
    {
        QList<int> drops;
        std::optional<int> click;
    };
    Settled answered(const QString &path);

private:
    QHash<int, QString> m_drops;
    QHash<QString, int> m_waitingClicks;
    int m_clicks = 0;
};
