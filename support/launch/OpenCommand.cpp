// SPDX-License-Identifier: GPL-3.0-or-later
#include "OpenCommand.h"

#include "DesktopOpener.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <cstring>

namespace OpenCommand {

namespace {

constexpr char Open[] = "--open";
constexpr char Unset[] = "--unset";
constexpr char Last[] = "--";
constexpr char Folder[] = "folder";

} // namespace

QStringList opener(const QString &program, const QStringList &unsetForLaunches)
{
    QStringList command{program, QString::fromLatin1(Open)};
    for (const QString &name : unsetForLaunches)
        command << QString::fromLatin1(Unset) << name;
    // The target comes after this, so that no target reads as an option.
    return command << QString::fromLatin1(Last);
}

std::optional<int> run(int argc, char **argv)
{
    if (argc < 2 || std::strcmp(argv[1], Open) != 0)
        return std::nullopt;
    QStringList unset;
    int at = 2;
    for (; at + 1 < argc && std::strcmp(argv[at], Unset) == 0; at += 2)
        unset.append(QString::fromLocal8Bit(argv[at + 1]));
    const bool folder = at + 3 == argc && std::strcmp(argv[at + 2], Folder) == 0;
    if ((at + 2 != argc && !folder) || std::strcmp(argv[at], Last) != 0)
        return 2;
    // The helper that reads what this says may be gone before it is done.
    std::signal(SIGPIPE, SIG_IGN);
    QDir::setCurrent(QStringLiteral("/"));
    const QString target = QFile::decodeName(argv[at + 1]);
    if (folder)
        DesktopOpener(unset).openFolder(target);
    else
        DesktopOpener(unset).open(target);
    return 0;
}

} // namespace OpenCommand
