// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes load without a crash, and load, save, load gives the same entries.
#include "panel/StoreFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList entries = StoreFile::parse(bytes);

    QByteArray written;
    if (!StoreFile::serialise(entries, &written, QString()).ok())
        std::abort(); // whatever was read can be written back
    if (StoreFile::parse(written) != entries)
        std::abort();
    // What the panel wrote, it writes again to the byte.
    QByteArray again;
    if (!StoreFile::serialise(StoreFile::parse(written), &again, QString()).ok() || again != written)
        std::abort();
    return 0;
}
