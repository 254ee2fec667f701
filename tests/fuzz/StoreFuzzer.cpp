// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes load without a crash, and load, save, load gives the same entries;
// any text the bytes spell as code points is written and read back as itself.
#include "store/StoreCodec.h"
#include "store/StoreFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool holds)
{
    if (!holds)
        std::abort();
}

// Every line, as the line rule cuts it, encodes back to its own bytes.
void checkLinesKeepTheirBytes(const QByteArray &bytes)
{
    for (const QByteArray &line : bytes.split('\n')) {
        for (const QByteArray &piece : line.split('\r'))
            check(StoreCodec::encodeLine(StoreCodec::decodeLine(piece)) == piece);
    }
}

// The bytes taken three at a time as code points: a text of any characters.
void checkTextSurvives(const QByteArray &bytes)
{
    QString text;
    for (qsizetype i = 0; i + 2 < bytes.size(); i += 3) {
        const char32_t c =
            ((uchar(bytes[i]) << 16) | (uchar(bytes[i + 1]) << 8) | uchar(bytes[i + 2])) % 0x110000;
        if ((c >= 0xD800 && c <= 0xDFFF) || c == '\r' || c == '\n')
            continue;
        text += QString::fromUcs4(&c, 1);
    }
    const std::optional<QByteArray> encoded = StoreCodec::encodeLine(text);
    // Refused only where a U+0098 could be read as the start of a pair.
    check(encoded ? StoreCodec::decodeLine(*encoded) == text : text.contains(QChar(0x98)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkLinesKeepTheirBytes(bytes);
    checkTextSurvives(bytes);

    const QStringList entries = StoreFile::parse(bytes);
    const std::optional<QByteArray> written = StoreFile::serialise(entries);
    check(written && StoreFile::parse(*written) == entries);
    // What the panel wrote, it writes again to the byte.
    check(StoreFile::serialise(StoreFile::parse(*written)) == written);
    return 0;
}
