// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// What waits for the disk's answer about a target: drops, to be stored once
// it says file or folder, and clicks on folders, to show the letter row or
// open once it says whether the folder is a catalogue. One drop a slot (a
// later one replaces it) and one click a path (a later one joins it). A drop
// stored before the answer, under the caption it was dropped with, still
// waits: the answer may put its mark right.
class TargetWaits
{
public:
    struct Drop
    {
        int slot = 0;
        QString caption;
    };

    void addDrop(int slot, const QString &path, const QString &caption)
    {
        m_drops.insert(slot, {path, caption, false});
    }
    void cancelDrop(int slot) { m_drops.remove(slot); }
    // Slot's drop, if it is still this path's and not stored yet, counted as
    // stored now: its caption as dropped.
    std::optional<QString> storeUnanswered(int slot, const QString &path);
    // The slots whose drops wait unstored, and the path each waits for.
    QList<int> waitingDrops() const;
    QString droppedPath(int slot) const { return m_drops.value(slot).path; }
    // Numbers the click; the number of the last one is lastClick().
    void addClick(const QString &path) { m_waitingClicks.insert(path, ++m_clicks); }
    // A click that waits for nothing still counts as the last.
    void addPlainClick() { ++m_clicks; }
    int lastClick() const { return m_clicks; }

    // What the answer about path settles, taken out of waiting: the drops it
    // completes, with the captions they were dropped with; those stored
    // before it, with the captions they were stored with; and the number of
    // the click it answers. Drops in slot order.
    struct Settled
    {
        QList<Drop> drops;
        QList<Drop> storedDrops;
        std::optional<int> click;
    };
    Settled answered(const QString &path);

private:
    struct WaitingDrop
    {
        QString path;
        QString caption;
        bool stored = false;
    };
    QHash<int, WaitingDrop> m_drops;
    QHash<QString, int> m_waitingClicks;
    int m_clicks = 0;
};
