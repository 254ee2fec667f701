// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QList>

// The 28 catalogue letters: the Russian capitals with Windows-1251 codes 192
// to 223, without Й, Ъ, Ы and Ь. Catalogue creation names its subfolders with
// them and the letter row opens them, so both take them from here.
namespace CatalogueLetters {

constexpr int FirstCode = 192;
constexpr int LastCode = 223;
// A letter tile's index is its code less this.
constexpr int TileIndexOffset = 191;

constexpr bool isCatalogueCode(int code)
{
    return code >= FirstCode && code <= LastCode && code != 201 && code != 218 && code != 219 &&
           code != 220;
}

// The codes in alphabetical order.
QList<int> codes();

// In Windows-1251, codes 192 to 223 are U+0410 to U+042F in the same order.
constexpr QChar letterForCode(int code)
{
    return QChar(char16_t(0x0410 + (code - FirstCode)));
}

// A folder is taken for a catalogue when it holds this letter's subfolder.
constexpr QChar FirstLetter = letterForCode(FirstCode);

} // namespace CatalogueLetters
