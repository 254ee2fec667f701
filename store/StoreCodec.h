// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// How one store entry is written as bytes, and read back.
//
// Every character Windows-1251 has is its one Windows-1251 byte, as the store
// has always been written. Any other character is the byte 0x98 followed by
// the character's UTF-8 bytes. 0x98 is the one byte Windows-1251 leaves
// undefined, so no program writing Windows-1251 text puts it there; and the
// pair is decoded only when it spells a character Windows-1251 lacks, so any
// byte sequence an older store holds reads as it always read and is written
// back to the same bytes.
//
// The one text this cannot write is U+0098 (what a bare 0x98 reads as)
// directly followed by Windows-1251 characters whose bytes spell such a pair:
// it would read back as another name, so it is refused.
namespace StoreCodec {

QString decodeLine(QByteArrayView bytes);
// Nothing when the entry cannot be written and read back as it is: a CR or
// LF, a lone surrogate, or the U+0098 case above.
std::optional<QByteArray> encodeLine(const QString &entry);

} // namespace StoreCodec
