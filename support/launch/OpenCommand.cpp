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
constexpr char Last[] = "--";
constexpr char Folder[] = "folder";

} // namespace

QStringList opener(const QString &program)
{
    // The target comes after "--", so that no target reads as an option.
    return {program, QString::fromLatin1(Open), QString::fromLatin1(Last)};
}

std::optional<int> run(int argc, char **argv)
{
    if (argc < 2 || std::strcmp(argv[1], Open) != 0)
        return std::nullopt;
    const int at = 2;
    const bool folder = at + 3 == argc && std::strcmp(argv[at + 2], Folder) == 0;
    if ((at + 2 != argc && !folder) || std::strcmp(argv[at], Last) != 0)
        return 2;
    // The helper that reads what this says may be gone before it is done.
    std::signal(SIGPIPE, SIG_IGN);
    QDir::setCurrent(QStringLiteral("/"));
    const QString target = QFile::decodeName(argv[at + 1]);
    if (folder)
        DesktopOpener().openFolder(target);
    else
        DesktopOpener().open(target);
    return 0;
}

} // namespace OpenCommand
