// SPDX-License-Identifier: GPL-3.0-or-later
// katalog-probe: the one process that touches the panel's targets. A share
// whose server took a question and never answers holds the asking thread in
// the kernel, beyond any signal, and a process with such a thread cannot end;
// so the panel asks here, and it is this process that stays behind.
//
// Usage: katalog-probe OPENER [ARGUMENTS...], with the panel's socket as
// descriptor 3. An Open question runs the opener with its arguments and the
// target (and what the panel knows of it) after them, its standard error the
// one that came with the question.
#include "support/gateway/GatewayProtocol.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

extern char **environ;

namespace {

using namespace Gateway;

constexpr int Socket = 3;
// What a folder's watch hears: entries that come, go or change, the folder
// itself going, its volume unmounted.
constexpr uint32_t FolderEvents = IN_ATTRIB | IN_MOVE | IN_CREATE | IN_DELETE | IN_DELETE_SELF |
                                  IN_MOVE_SELF | IN_UNMOUNT | IN_ONLYDIR;

std::vector<std::string> opener;
int watches = -1;
std::mutex watchesMutex;
std::map<int, std::set<std::string>> foldersOf; // a watch, and the folders it stands for
std::map<std::string, int> watchOf;

void send(Header header, const void *data = nullptr, size_t size = 0, const void *more = nullptr,
          size_t moreSize = 0)
{
    iovec parts[3] = {{&header, sizeof header},
                      {const_cast<void *>(data), size},
                      {const_cast<void *>(more), moreSize}};
    msghdr message = {};
    message.msg_iov = parts;
    message.msg_iovlen = 3;
    while (::sendmsg(Socket, &message, MSG_NOSIGNAL) < 0 && errno == EINTR) {
    }
}

void describe(Header header, std::string path)
{
    std::string link;
    const EntryRecord record = describeEntry(path.c_str(), &link);
    send(header, &record, sizeof record, link.data(), link.size());
}

void read(Header header, uint32_t most, std::string path)
{
    // A pipe would wait for a writer and a device never ends: plain files only.
    std::string bytes;
    int32_t error = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat info = {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        error = errno;
    } else if (!S_ISREG(info.st_mode)) {
        error = EINVAL;
    } else {
        bytes.resize(std::min(most, LargestRead));
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                error = errno;
            if (got <= 0)
                break;
            done += size_t(got);
        }
        bytes.resize(done);
    }
    if (fd >= 0)
        ::close(fd);
    send(header, &error, sizeof error, bytes.data(), bytes.size());
}

void watch(Header header, std::string folder)
{
    // Setting a watch looks the folder up, which a hung share holds.
    const int watch = ::inotify_add_watch(watches, folder.c_str(), FolderEvents);
    const int32_t error = watch < 0 ? errno : 0;
    if (watch >= 0) {
        const std::lock_guard lock(watchesMutex);
        foldersOf[watch].insert(folder);
        watchOf[folder] = watch;
    }
    send(header, &error, sizeof error);
}

void unwatch(const std::string &folder)
{
    const std::lock_guard lock(watchesMutex);
    const auto found = watchOf.find(folder);
    if (found == watchOf.end())
        return;
    const int watch = found->second;
    watchOf.erase(found);
    std::set<std::string> &folders = foldersOf[watch];
    folders.erase(folder);
    if (folders.empty()) {
        foldersOf.erase(watch);
        ::inotify_rm_watch(watches, watch);
    }
}

// The opener says why an open failed on the panel's standard error, which
// came with the question; it is held here only while the opener starts.
void open(Header header, std::string target, int said)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (said >= 0)
        posix_spawn_file_actions_adddup2(&actions, said, 2);
    else
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char *> arguments;
    for (std::string &argument : opener)
        arguments.push_back(argument.data());
    // The target, and what the panel knows of it, each ended by a NUL.
    target.push_back('\0');
    for (size_t at = 0; at < target.size(); at = target.find('\0', at) + 1)
        arguments.push_back(target.data() + at);
    arguments.push_back(nullptr);
    pid_t pid = -1;
    const int failed =
        ::posix_spawn(&pid, arguments[0], &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (said >= 0)
        ::close(said);
    if (failed == 0) {
        header.phase = Phase::Started;
        send(header);
        int status;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    header.phase = Phase::Done;
    send(header);
}

// Each watched folder that changed is told once for what one read brings.
void tellChanges()
{
    alignas(inotify_event) char events[16 * 1024];
    const ssize_t length = ::read(watches, events, sizeof events);
    std::set<std::string> changed;
    {
        const std::lock_guard lock(watchesMutex);
        for (ssize_t at = 0; at < length;) {
            const auto *event = reinterpret_cast<const inotify_event *>(events + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            const auto found = foldersOf.find(event->wd);
            if (found == foldersOf.end())
                continue;
            changed.insert(found->second.begin(), found->second.end());
            // The folder went (deleted, unmounted): its watch is gone with it.
            if (event->mask & IN_IGNORED) {
                for (const std::string &folder : found->second)
                    watchOf.erase(folder);
                foldersOf.erase(found);
            }
        }
    }
    for (const std::string &folder : changed)
        send(Header{0, Kind::Changed, Phase::Done, 0}, folder.data(), folder.size());
}

void answer(const char *message, size_t length, int passed)
{
    // A descriptor that came with anything but an open is not kept.
    struct Closer
    {
        int &fd;
        ~Closer()
        {
            if (fd >= 0)
                ::close(fd);
        }
    } closer{passed};
    Header header;
    if (length < sizeof header)
        return;
    std::memcpy(&header, message, sizeof header);
    const char *payload = message + sizeof header;
    size_t size = length - sizeof header;
    header.phase = Phase::Done;
    switch (header.kind) {
    case Kind::Alive:
        return send(header);
    case Kind::Describe:
        return std::thread(describe, header, std::string(payload, size)).detach();
    case Kind::Read: {
        uint32_t most;
        if (size < sizeof most)
            return;
        std::memcpy(&most, payload, sizeof most);
        return std::thread(read, header, most,
                           std::string(payload + sizeof most, size - sizeof most))
            .detach();
    }
    case Kind::Watch:
        return std::thread(watch, header, std::string(payload, size)).detach();
    case Kind::Unwatch:
        return unwatch(std::string(payload, size));
    case Kind::Open:
        return std::thread(open, header, std::string(payload, size), std::exchange(passed, -1))
            .detach();
    case Kind::Changed:
        return;
    }
}

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        opener.emplace_back(argv[i]);
    if (opener.empty())
        return 2;
    // Ctrl+C and a closed terminal are the panel's to answer; this process
    // ends when the panel's end of the socket closes. An answer nobody reads
    // any more is dropped.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGHUP, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    // Relative paths are taken from "/", as the panel takes them.
    if (::chdir("/") != 0)
        return 1;
    watches = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    const pid_t self = ::getpid();
    send(Header{0, Kind::Alive, Phase::Done, 0}, &self, sizeof self);

    std::vector<char> message(LargestMessage);
    pollfd ready[2] = {{Socket, POLLIN, 0}, {watches, POLLIN, 0}};
    for (;;) {
        if (::poll(ready, watches >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR)
                continue;
            return 1;
        }
        if (ready[1].revents & POLLIN)
            tellChanges();
        if (ready[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            iovec data{message.data(), message.size()};
            alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))];
            msghdr received = {};
            received.msg_iov = &data;
            received.msg_iovlen = 1;
            received.msg_control = control;
            received.msg_controllen = sizeof control;
            const ssize_t length = ::recvmsg(Socket, &received, MSG_CMSG_CLOEXEC);
            if (length < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (length <= 0)
                ::_exit(0); // the panel has gone: threads still asking stay with their disk
            int passed = -1;
            const cmsghdr *fds = CMSG_FIRSTHDR(&received);
            if (fds && fds->cmsg_level == SOL_SOCKET && fds->cmsg_type == SCM_RIGHTS)
                std::memcpy(&passed, CMSG_DATA(fds), sizeof passed);
            answer(message.data(), size_t(length), passed);
        }
    }
}
