# SPDX-License-Identifier: GPL-3.0-or-later
# A file system that mirrors a folder and waits before answering every
# look-up below its top, as a share that has stopped answering does for a
# while.
# Usage: python3 slowfs.py FOLDER MOUNTPOINT SECONDS
import os
import sys
import time

from fusepy import FUSE, FuseOSError, Operations


class Slow(Operations):
    def __init__(self, root, delay):
        self.root, self.delay = root, delay

    def getattr(self, path, fh=None):
        if path != '/':
            time.sleep(self.delay)
        try:
            st = os.lstat(self.root + path)
        except OSError as e:
            raise FuseOSError(e.errno)
        keys = ('st_atime', 'st_ctime', 'st_gid', 'st_mode', 'st_mtime', 'st_nlink', 'st_size', 'st_uid')
        return {k: getattr(st, k) for k in keys}

    def readdir(self, path, fh):
        return ['.', '..'] + os.listdir(self.root + path)

    def open(self, path, flags):
        return os.open(self.root + path, flags)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        os.close(fh)


FUSE(Slow(sys.argv[1], float(sys.argv[3])), sys.argv[2], foreground=True, ro=True)
