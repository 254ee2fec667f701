// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StoreResult.h"

#include <QByteArray>
#include <QStringList>

// The store file's bytes: Windows-1251 text, one entry a line (StoreCodec says
// how characters Windows-1251 lacks are written).
//
// Reading: a line ends at CR, at CR LF, or at a LF on its own; the end of the
// file ends the last line; nothing is read after the last line end.
// Writing: every entry followed by CR LF. Every byte but CR and LF survives a
// read and a write unchanged, and so does every text an entry can hold.
//
// Writes go to a temporary file in the same folder that is then renamed over
// the store, so the file on disk is always the old store or the new one;
// only where the folder allows no new file is the store written in place.
namespace StoreFile {

// The 51 bytes of a new store: "1" CR twenty-four times, then "1" CR LF.
QByteArray defaultContent();

QStringList parse(const QByteArray &bytes);

// Whether an entry can be written and read back unchanged: it holds no CR or
// LF (StoreCodec names the rare other case).
bool canHold(const QString &entry);

// Fails, naming the entry, when an entry cannot be held: written as it is, it
// would not read back the same.
StoreResult serialise(const QStringList &entries, QByteArray *bytes, const QString &path);

bool exists(const QString &path);
StoreResult read(const QString &path, QStringList *entries);
StoreResult writeDefault(const QString &path);
StoreResult write(const QString &path, const QStringList &entries);

} // namespace StoreFile
