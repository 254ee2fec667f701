// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class QMimeData;

// One local file of a drop. A Linux name may be any bytes; one that is not
// UTF-8 has no exact text, and path then names another file.
struct DroppedFile
{
    QString path;
    bool exact = true;
    // The drop said it is a folder (its address ends in "/").
    bool folder = false;

    bool operator==(const DroppedFile &) const = default;
};

// The file list of data dropped from another program: its files on this
// machine (no host, or "localhost"), in the drop's order; MATE's Home icon is
// the home folder. Data without one (plain text, web links, files on other
// hosts, MATE's other desktop icons) gives an empty list.
QList<DroppedFile> droppedFiles(const QMimeData *data);

// The same for files a file manager's Copy put on the clipboard: its URI list,
// or where that is all there is, GNOME's copied-files list.
QList<DroppedFile> copiedFiles(const QMimeData *data);
