// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiskProbe.h"

#include <QFile>
#include <QHash>
#include <QMutex>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <linux/close_range.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

int helperSocket = -1;

// Questions that ran out of time: their answer pipes, read when asked again.
QMutex unansweredMutex;
QHash<QString, int> unanswered;

int lstatError(const char *path)
{
    struct stat info = {};
    return ::lstat(path, &info) == 0 ? 0 : errno;
}

constexpr char HelperName[] = "katalog-probe";

// Writes the name over the arguments' own memory, which is what the process
// list shows.
void renameTo(char **argv)
{
    if (!argv || !argv[0])
        return;
    char *const start = argv[0];
    char *end = start + std::strlen(start);
    for (int i = 1; argv[i] && argv[i] == end + 1; ++i)
        end = argv[i] + std::strlen(argv[i]);
    const size_t room = size_t(end - start);
    std::memset(start, 0, room);
    std::memcpy(start, HelperName, std::min(room, sizeof HelperName - 1));
}

// Each question is a message holding the path, with the answer pipe's
// writing end passed along; each is answered on a thread of its own, so one
// hung path holds up no other.
[[noreturn]] void serve(int socket, char **argv)
{
    renameTo(argv);
    ::prctl(PR_SET_NAME, HelperName);
    // Ctrl+C and a closed terminal are the panel's to answer; the helper
    // ends when the panel's end of the socket closes.
    ::signal(SIGINT, SIG_IGN);
    ::signal(SIGHUP, SIG_IGN);
    // An answer nobody waits for any more is dropped.
    ::signal(SIGPIPE, SIG_IGN);
    if (::chdir("/") != 0)
        ::_exit(1);
    // It says nothing, and holds no terminal, pipe or file of the panel's
    // open for as long as a share keeps it: only its socket, kept clear of
    // the three standard descriptors.
    if (socket < 3)
        socket = ::fcntl(socket, F_DUPFD_CLOEXEC, 3);
    const int nothing = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    for (int standard = 0; nothing >= 0 && standard < 3; ++standard)
        ::dup2(nothing, standard);
    ::close_range(3, unsigned(socket) - 1, 0);
    ::close_range(unsigned(socket) + 1, ~0U, 0);
    for (;;) {
        char path[PATH_MAX + 1];
        iovec data{path, PATH_MAX};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))];
        msghdr message = {};
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t length = ::recvmsg(socket, &message, MSG_CMSG_CLOEXEC);
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            ::_exit(0);
        const cmsghdr *passed = CMSG_FIRSTHDR(&message);
        if (!passed || passed->cmsg_type != SCM_RIGHTS)
            continue;
        int answer;
        std::memcpy(&answer, CMSG_DATA(passed), sizeof answer);
        path[length] = '\0';
        std::thread([question = std::string(path), answer] {
            const int error = lstatError(question.c_str());
            [[maybe_unused]] const ssize_t written = ::write(answer, &error, sizeof error);
            ::close(answer);
        }).detach();
    }
}

// The pipe's reading end for a new question, or -1 when the helper cannot
// be asked.
int sendQuestion(const QByteArray &path)
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return -1;
    iovec data{const_cast<char *>(path.constData()), size_t(path.size())};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message = {};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr *passed = CMSG_FIRSTHDR(&message);
    passed->cmsg_level = SOL_SOCKET;
    passed->cmsg_type = SCM_RIGHTS;
    passed->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(passed), &pipe[1], sizeof(int));
    const bool sent = ::sendmsg(helperSocket, &message, MSG_NOSIGNAL) == path.size();
    ::close(pipe[1]);
    if (sent)
        return pipe[0];
    ::close(pipe[0]);
    return -1;
}

enum class Read { Answer, Late, Lost };

Read readAnswer(int pipe, int waitMilliseconds, int &error)
{
    pollfd ready{pipe, POLLIN, 0};
    int count;
    while ((count = ::poll(&ready, 1, waitMilliseconds)) < 0 && errno == EINTR) {
    }
    if (count == 0)
        return Read::Late;
    ssize_t length;
    while ((length = ::read(pipe, &error, sizeof error)) < 0 && errno == EINTR) {
    }
    return length == sizeof error ? Read::Answer : Read::Lost;
}

} // namespace

void DiskProbe::startHelper(char **argv)
{
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0)
        return;
    // Started by a child that ends at once, the helper is nobody's child
    // here: it may outlive the panel without being waited for.
    const pid_t starter = ::fork();
    if (starter == 0) {
        ::close(pair[0]);
        if (::fork() == 0)
            serve(pair[1], argv);
        ::_exit(0);
    }
    ::close(pair[1]);
    if (starter < 0) {
        ::close(pair[0]);
        return;
    }
    int status;
    while (::waitpid(starter, &status, 0) < 0 && errno == EINTR) {
    }
    helperSocket = pair[0];
}

std::optional<int> DiskProbe::ask(const QString &path, int waitMilliseconds)
{
    const QByteArray local = QFile::encodeName(path);
    if (helperSocket < 0 || local.isEmpty() || local.size() > PATH_MAX || local.contains('\0'))
        return lstatError(local.constData());
    int pipe;
    {
        const QMutexLocker lock(&unansweredMutex);
        pipe = unanswered.value(path, -1);
        unanswered.remove(path);
    }
    const bool askedBefore = pipe >= 0;
    if (!askedBefore && (pipe = sendQuestion(local)) < 0)
        return lstatError(local.constData());
    int error = 0;
    switch (readAnswer(pipe, askedBefore ? 0 : waitMilliseconds, error)) {
    case Read::Answer:
        ::close(pipe);
        return error;
    case Read::Late: {
        const QMutexLocker lock(&unansweredMutex);
        unanswered.insert(path, pipe);
        return std::nullopt;
    }
    case Read::Lost:
        break;
    }
    ::close(pipe);
    return lstatError(local.constData());
}
