// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr const char *CodePage = "windows-1251";

StoreResult writeAtomically(const QString &path, const QByteArray &bytes, StoreResult::Step step)
{
    QSaveFile file(path);
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
    QStringDecoder decoder(CodePage);
    QStringList entries;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes.at(i);
        if (c != CR && c != LF)
            continue;
        entries.append(decoder.decode(bytes.sliced(start, i - start)));
        if (c == CR && i + 1 < size && bytes.at(i + 1) == LF)
            ++i;
        start = i + 1;
    }
    if (start < size)
        entries.append(decoder.decode(bytes.sliced(start)));
    return entries;
}

bool canHold(const QString &entry)
{
    QStringEncoder encoder(CodePage);
    const QByteArray line = encoder.encode(entry);
    return !encoder.hasError() && !line.contains(CR) && !line.contains(LF);
}

StoreResult serialise(const QStringList &entries, QByteArray *bytes, const QString &path)
{
    QStringEncoder encoder(CodePage);
    QByteArray out;
    for (const QString &entry : entries) {
        if (!canHold(entry)) {
            return StoreResult::failure(
                StoreResult::Step::Write, path,
                QStringLiteral("строку «%1» нельзя записать в кодировке Windows-1251 "
                               "одной строкой")
                    .arg(entry));
        }
        out += encoder.encode(entry);
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
