// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QMimeData;

// The file list of data dropped from another program: its local files, in
// the drop's order. Data without a local file (plain text, web links only)
// gives an empty list.
QStringList droppedFiles(const QMimeData *data);
