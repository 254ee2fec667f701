// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

// The store file's bytes: Windows-1251 text, one entry a line (StoreCodec says
// how characters Windows-1251 lacks are written).
//
// Reading: a line ends at CR, at CR LF, or at a LF on its own; the end of the
// file ends the last line; nothing is read after the last line end.
// Writing: every entry followed by CR LF. Every byte but CR and LF survives a
// read and a write unchanged, and so does every text an entry can hold.
namespace StoreFile {

// A new store of this many placeholder entries "1": each followed by a bare
// CR, the last by CR LF.
QByteArray defaultContent(int entries);

QStringList parse(const QByteArray &bytes);

// Whether an entry can be written and read back unchanged: it holds no CR or
// LF (StoreCodec names the rare other case).
bool canHold(const QString &entry);

// Nothing when an entry cannot be held: written as it is, it would not read
// back the same.
std::optional<QByteArray> serialise(const QStringList &entries);

} // namespace StoreFile
