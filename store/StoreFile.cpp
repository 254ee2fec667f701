// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreFile.h"

#include "StoreCodec.h"

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';

} // namespace

namespace StoreFile {

QByteArray defaultContent(int entries)
{
    return QByteArray("1\r").repeated(entries - 1) + "1\r\n";
}

QStringList parse(const QByteArray &bytes)
{
    QStringList entries;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes.at(i);
        if (c != CR && c != LF)
            continue;
        entries.append(StoreCodec::decodeLine(QByteArrayView(bytes).sliced(start, i - start)));
        if (c == CR && i + 1 < size && bytes.at(i + 1) == LF)
            ++i;
        start = i + 1;
    }
    if (start < size)
        entries.append(StoreCodec::decodeLine(QByteArrayView(bytes).sliced(start)));
    return entries;
}

bool canHold(const QString &entry)
{
    return StoreCodec::encodeLine(entry).has_value();
}

std::optional<QByteArray> serialise(const QStringList &entries)
{
    QByteArray out;
    for (const QString &entry : entries) {
        const std::optional<QByteArray> line = StoreCodec::encodeLine(entry);
        if (!line)
            return std::nullopt;
        out += *line;
        out += "\r\n";
    }
    return out;
}

} // namespace StoreFile
