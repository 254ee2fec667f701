// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreCodec.h"

#include <QHash>
#include <QStringDecoder>

#include <array>

namespace {

constexpr uchar Marker = 0x98;

struct CodePage
{
    std::array<char16_t, 256> character{};
    QHash<char32_t, uchar> byte;

    CodePage()
    {
        // Qt reads 0x98 as U+0098, so every byte has a character of its own.
        QStringDecoder decoder("windows-1251");
        for (int b = 0; b < 256; ++b) {
            const char raw = char(b);
            const QString decoded = decoder.decode(QByteArrayView(&raw, 1));
            character[b] = decoded.at(0).unicode();
            byte.insert(character[b], uchar(b));
        }
    }
};

const CodePage &codePage()
{
    static const CodePage table;
    return table;
}

// The character a well-formed, shortest-form UTF-8 sequence at the start of
// bytes spells, and its length; nothing if there is none.
std::optional<std::pair<char32_t, int>> utf8At(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return std::nullopt;
    const uchar lead = uchar(bytes.at(0));
    int length;
    char32_t c;
    char32_t least;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (bytes.size() < length)
        return std::nullopt;
    for (int i = 1; i < length; ++i) {
        const uchar next = uchar(bytes.at(i));
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    return std::pair{c, length};
}

void appendUtf8(QByteArray &out, char32_t c)
{
    out += QString::fromUcs4(&c, 1).toUtf8();
}

} // namespace

namespace StoreCodec {

QString decodeLine(QByteArrayView bytes)
{
    const CodePage &page = codePage();
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar b = uchar(bytes.at(i));
        if (b == Marker) {
            const auto spelled = utf8At(bytes.sliced(i + 1));
            if (spelled && !page.byte.contains(spelled->first)) {
                const char32_t c = spelled->first;
                text += QString::fromUcs4(&c, 1);
                i += spelled->second;
                continue;
            }
        }
        text += QChar(page.character[b]);
    }
    return text;
}

std::optional<QByteArray> encodeLine(const QString &entry)
{
    const CodePage &page = codePage();
    QByteArray out;
    out.reserve(entry.size());
    for (qsizetype i = 0; i < entry.size(); ++i) {
        char32_t c = entry.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < entry.size() && entry.at(i + 1).isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), entry.at(++i).unicode());
        else if (QChar::isSurrogate(c))
            return std::nullopt;
        if (c == '\r' || c == '\n')
            return std::nullopt;
        if (const auto b = page.byte.constFind(c); b != page.byte.constEnd()) {
            out += char(*b);
        } else {
            out += char(Marker);
            appendUtf8(out, c);
        }
    }
    // Only a U+0098 before bytes that spell a pair reads back differently.
    if (out.contains(char(Marker)) && decodeLine(out) != entry)
        return std::nullopt;
    return out;
}

} // namespace StoreCodec
