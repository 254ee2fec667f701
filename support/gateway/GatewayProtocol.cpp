// SPDX-License-Identifier: GPL-3.0-or-later
#include "GatewayProtocol.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace Gateway {

EntryRecord describeEntry(const char *path, std::string *linkTarget)
{
    EntryRecord record = {};
    struct stat info = {};
    if (::lstat(path, &info) != 0) {
        record.lstatError = record.statError = errno;
        return record;
    }
    record.lstatMode = info.st_mode;
    if (S_ISLNK(info.st_mode)) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path, target, sizeof target);
        if (length > 0 && linkTarget)
            linkTarget->assign(target, size_t(length));
        if (::stat(path, &info) != 0) {
            record.statError = errno;
            return record;
        }
    }
    record.statMode = info.st_mode;
    record.size = info.st_size;
    record.device = info.st_dev;
    record.inode = info.st_ino;
    record.modified[0] = info.st_mtim.tv_sec, record.modified[1] = info.st_mtim.tv_nsec;
    record.changed[0] = info.st_ctim.tv_sec, record.changed[1] = info.st_ctim.tv_nsec;
    record.executable = S_ISREG(info.st_mode) && ::access(path, X_OK) == 0;
    return record;
}

} // namespace Gateway
