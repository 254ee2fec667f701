// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/gateway/DiskGateway.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What the disk helper would say of path, asked here.
inline EntryFacts localFacts(const QString &path)
{
    std::string link;
    const Gateway::EntryRecord record =
        Gateway::describeEntry(QFile::encodeName(path).constData(), &link);
    return DiskGateway::factsOf(path,
                                QByteArray(reinterpret_cast<const char *>(&record), sizeof record) +
                                    QByteArray::fromStdString(link));
}

// The real targets the panel's tests drop and click.
inline bool makeTargets(const QString &folder)
{
    bool made = QDir(folder).mkpath(QStringLiteral("Games")) && QDir(folder).mkpath(u"Arch/А"_qs);
    for (const char *file : {"report.doc", "a.txt", "<i>x.txt"})
        made = made && QFile(folder + '/' + QString::fromUtf8(file)).open(QIODevice::WriteOnly);
    return made;
}

// A store's entries with every slot unassigned.
inline QStringList emptyStore()
{
    return QStringList(25, QStringLiteral("1"));
}

// A catalogue's folder, then its letters' subfolders in order.
inline QStringList catalogueFolders(const QString &path)
{
    QStringList folders{path};
    for (QChar letter : QStringLiteral("АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЩЭЮЯ"))
        folders.append(path + QLatin1Char('/') + letter);
    return folders;
}
