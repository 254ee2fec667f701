// SPDX-License-Identifier: GPL-3.0-or-later
#include "NoWatches.h"

#include <cerrno>
#include <cstdint>
#include <sys/syscall.h>
#include <unistd.h>

std::atomic<bool> noWatchesLeft{KATALOG_NO_WATCHES_AT_START};

extern "C" int inotify_add_watch(int fd, const char *path, uint32_t mask)
{
    if (noWatchesLeft) {
        errno = ENOSPC;
        return -1;
    }
    return int(::syscall(SYS_inotify_add_watch, fd, path, mask));
}
