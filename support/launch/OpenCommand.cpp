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
    if (at + 2 != argc || std::strcmp(argv[at], Last) != 0)
        return 2;
    // The helper that reads what this says may be gone before it is done.
    std::signal(SIGPIPE, SIG_IGN);
    QDir::setCurrent(QStringLiteral("/"));
    DesktopOpener(unset).open(QFile::decodeName(argv[at + 1]));
    return 0;
}

} // namespace OpenCommand
