// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The system's reason for a failure, said in Russian. The C library and Qt
// word their reasons in English whatever the locale; a reason that holds one
// of the C library's messages is told by what it means (no such file, no
// permission, a read-only file system, no space, a quota, a name that is
// taken, not a folder, a name too long, an input or output error), or as a
// system error with its number. Any other text is already ours, and kept.
QString russianReason(const QString &systemText);
