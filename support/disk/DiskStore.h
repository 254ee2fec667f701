// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/StoreMedium.h"

// The store as a file. Only a
// plain file of at most LargestStore bytes is read; anything else (a pipe, a
// device, a larger file) is a failure, found without waiting. A
// replacement goes to a temporary file in the same folder that is then
// renamed over the store; only where the folder allows no new file but the
// store itself is writable is the store written in place. In place, a kill
// during the save leaves the old store or the new one when the new one is
// not shorter and the write is not cut inside (a store of a page or so);
// a shorter new store may keep the old one's last bytes after a kill just
// before it is cut to length. A replaced store keeps its owner, group, mode
// and access list; where the new file cannot be given them, the store is
// written in place when it may be.
class DiskStore : public StoreMedium
{
public:
    // Twelve slots take under 4 KiB, even with long paths.
    static constexpr qsizetype LargestStore = 1 << 20;

    explicit DiskStore(QString path);

    QString path() const override { return m_path; }
    bool exists() const override;
    Contents read() const override;
    std::error_code replace(const QByteArray &bytes) override;

private:
    QString m_path;
};
