// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreFile.h"

#include "StoreCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';

StoreResult writeAtomically(const QString &path, const QByteArray &bytes, StoreResult::Step step)
{
    QSaveFile file(path);
    // Where only the store itself is writable (a shared install made
    // writable for its user) there is no room for a temporary file: write in
    // place then, still seeing every failure.
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a failing write (a full disk) is seen here and the
    // temporary file is dropped: with Qt's write buffer the failure would come
    // at commit(), whose flush errors do not stop the rename.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return StoreResult::failure(step, path, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return StoreResult::failure(step, path, reason);
    }
    if (!file.commit())
        return StoreResult::failure(step, path, file.errorString());
    return StoreResult::success();
}

} // namespace

namespace StoreFile {

QByteArray defaultContent()
{
    QByteArray bytes;
    for (int i = 0; i < 24; ++i)
        bytes += "1\r";
    bytes += "1\r\n";
    return bytes;
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

StoreResult serialise(const QStringList &entries, QByteArray *bytes, const QString &path)
{
    QByteArray out;
    for (const QString &entry : entries) {
        const std::optional<QByteArray> line = StoreCodec::encodeLine(entry);
        if (!line) {
            return StoreResult::failure(
                StoreResult::Step::Write, path,
                QStringLiteral("строку «%1» нельзя записать в файл кнопок одной строкой")
                    .arg(entry));
        }
        out += *line;
        out += "\r\n";
    }
    *bytes = out;
    return StoreResult::success();
}

bool exists(const QString &path)
{
    return QFileInfo::exists(path);
}

StoreResult read(const QString &path, QStringList *entries)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return StoreResult::failure(StoreResult::Step::Read, path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return StoreResult::failure(StoreResult::Step::Read, path, file.errorString());
    *entries = parse(bytes);
    return StoreResult::success();
}

StoreResult writeDefault(const QString &path)
{
    return writeAtomically(path, defaultContent(), StoreResult::Step::Create);
}

StoreResult write(const QString &path, const QStringList &entries)
{
    QByteArray bytes;
    const StoreResult encoded = serialise(entries, &bytes, path);
    if (!encoded.ok())
        return encoded;
    return writeAtomically(path, bytes, StoreResult::Step::Write);
}

} // namespace StoreFile
