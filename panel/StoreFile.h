// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StoreResult.h"

#include <QByteArray>
#include <QStringList>

// The store file's bytes: single-byte Windows-1251 text, one entry a line.
//
// Reading: a line ends at CR, at CR LF, or at a LF on its own; the end of the
// file ends the last line; nothing is read after the last line end.
// Writing: every entry followed by CR LF. Every byte but CR and LF survives a
// read and a write unchanged.
//
// Writes go to a temporary file in the same folder that is then renamed over
// the store, so the file on disk is always the old store or the new one.
namespace StoreFile {

// The 51 bytes of a new store: "1" CR twenty-four times, then "1" CR LF.
QByteArray defaultContent();

QStringList parse(const QByteArray &bytes);

// Whether an entry can be written and read back unchanged: every character is
// in Windows-1251, and there is no CR or LF.
bool canHold(const QString &entry);

// Fails, naming the entry, when an entry has a character Windows-1251 lacks
// or holds CR or LF: written as it is, it would not read back the same.
StoreResult serialise(const QStringList &entries, QByteArray *bytes, const QString &path);

bool exists(const QString &path);
StoreResult read(const QString &path, QStringList *entries);
StoreResult writeDefault(const QString &path);
StoreResult write(const QString &path, const QStringList &entries);

} // namespace StoreFile
