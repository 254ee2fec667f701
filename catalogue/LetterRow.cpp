// SPDX-License-Identifier: GPL-3.0-or-later
#include "LetterRow.h"

#include "CatalogueLetters.h"
#include "LetterTile.h"
#include "images/Pictures.h"

#include <array>

namespace {

constexpr QSize TileSize(30, 20);

// Tile tops in alphabetical order: a step of 16 px, but К to Л is 14 and
// Л to М is 18.
constexpr std::array<int, 28> TileTops = {4,   20,  36,  52,  68,  84,  100, 116, 132, 148,
                                          162, 180, 196, 212, 228, 244, 260, 276, 292, 308,
                                          324, 340, 356, 372, 388, 404, 420, 436};

} // namespace

LetterRow::LetterRow(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    const QList<int> codes = CatalogueLetters::codes();
    for (qsizetype n = 0; n < codes.size(); ++n) {
        const int code = codes.at(n);
        const int index = code - CatalogueLetters::TileIndexOffset;
        auto *tile = new LetterTile(CatalogueLetters::letterForCode(code), this);
        const QRect box(QPoint(0, TileTops.at(n)), TileSize);
        tile->setGeometry(box);
        // The tile before covers this one's top strip where they overlap; a
        // mask rather than the stacking order, so that the tiles stand in
        // alphabetical order for the keyboard and screen readers.
        if (n > 0) {
            const QRect above(QPoint(0, TileTops.at(n - 1)), TileSize);
            tile->setMask(QRegion(QRect(QPoint(), TileSize)) -
                          QRegion(above.intersected(box).translated(-box.topLeft())));
        }
        connect(tile, &LetterTile::clicked, this, [this, index] { Q_EMIT tileClicked(index); });
        m_tiles[index] = tile;
    }
}

LetterTile *LetterRow::tile(int index) const
{
    const auto found = m_tiles.find(index);
    return found == m_tiles.end() ? nullptr : found->second;
}

QList<LetterTile *> LetterRow::tiles() const
{
    QList<LetterTile *> result;
    for (const auto &[index, tile] : m_tiles)
        result.append(tile);
    return result;
}

void LetterRow::showEvent(QShowEvent *event)
{
    if (!m_drawn) {
        for (const auto &[index, tile] : m_tiles)
            tile->setPicture(Pictures::letterTile(index + CatalogueLetters::TileIndexOffset));
        m_drawn = true;
    }
    QWidget::showEvent(event);
}
