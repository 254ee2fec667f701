// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/StoreMedium.h"

// The store as a file. Only a
// plain file of at most LargestStore bytes is read; anything else (a pipe, a
// device, a larger file) is a failure, found without waiting. A
// replacement goes to a temporary file in the same folder that is then
// swapped with the store, and another program's store found swapped out is
// swapped back, so that no edit renamed over the store before the swap is
// lost (where the file system cannot swap, the store is compared just before
// a plain rename). Only where the folder allows no new file but the store
// itself is writable is the store written in place, compared just before
// the write. In place, a kill
// during the save leaves the old store or the new one when the new one is
// not shorter and the write is not cut inside (a store of a page or so);
// a shorter new store may keep the old one's last bytes after a kill just
// before it is cut to length. A replaced store keeps its owner, group, mode
// and access list; where the new file cannot be given them, the store is
// written in place when it may be.
class DiskStore : public StoreMedium
{
public:
    explicit DiskStore(QString path);

    QString path() const override { return m_path; }
    bool exists() const override;
    Contents read() const override;
    Replaced replace(const QByteArray &bytes, const std::optional<QByteArray> &seen) override;

private:
    QString m_path;
};
