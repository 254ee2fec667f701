// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <map>

class LetterTile;

// The letter row: a black column of 28 overlapping letter tiles, the smaller
// index on top. Tile i stands for the letter with Windows-1251 code i + 191;
// the indexes 10, 27, 28 and 29 have no tile. The tiles' pictures are drawn
// when the row is first shown, so a panel whose row is never shown never
// loads them.
class LetterRow : public QWidget
{
    Q_OBJECT

public:
    explicit LetterRow(QWidget *parent);

    // Null for an index without a tile.
    LetterTile *tile(int index) const;
    // The tiles in index order.
    QList<LetterTile *> tiles() const;

Q_SIGNALS:
    void tileClicked(int index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::map<int, LetterTile *> m_tiles;
    bool m_drawn = false;
};
