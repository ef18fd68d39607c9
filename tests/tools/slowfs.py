#!/usr/bin/python3
# A folder that answers slowly, as a share whose server is asleep: a FUSE
# file system that shows SOURCE read-only at MOUNT, and holds every call on
# a path under the prefix CONTROL names (one line, such as "/sleepy") for as
# long as CONTROL holds it, at most LIMIT seconds, as the system holds a
# call to a sleeping server until it gives up. Removing CONTROL wakes the
# folder at once. Every call is noted in LOG as "OPERATION PATH", before it
# waits, so a test can tell which folders the program read.
#   slowfs.py SOURCE MOUNT CONTROL LOG [LIMIT]
import errno
import os
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations


class SlowFS(Operations):
    def __init__(self, source, control, log, limit):
        self.source = source
        self.control = control
        self.limit = limit
        self.log = open(log, "a", buffering=1)
        self.log_lock = threading.Lock()

    def _asleep(self, path):
        try:
            with open(self.control) as f:
                prefix = f.readline().strip()
        except OSError:
            return False
        return bool(prefix) and (path == prefix or path.startswith(prefix.rstrip("/") + "/"))

    def _enter(self, operation, path):
        with self.log_lock:
            self.log.write(f"{operation} {path}\n")
        deadline = time.monotonic() + self.limit
        while self._asleep(path) and time.monotonic() < deadline:
            time.sleep(0.05)
        return os.path.join(self.source, path.lstrip("/"))

    def getattr(self, path, fh=None):
        real = self._enter("getattr", path)
        try:
            st = os.lstat(real)
        except OSError as e:
            raise FuseOSError(e.errno)
        return {k: getattr(st, k) for k in ("st_mode", "st_nlink", "st_size", "st_uid", "st_gid",
                                            "st_atime", "st_mtime", "st_ctime")}

    def readdir(self, path, fh):
        real = self._enter("readdir", path)
        try:
            return [".", ".."] + os.listdir(real)
        except OSError as e:
            raise FuseOSError(e.errno)

    def open(self, path, flags):
        real = self._enter("open", path)
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise FuseOSError(errno.EROFS)
        try:
            return os.open(real, os.O_RDONLY)
        except OSError as e:
            raise FuseOSError(e.errno)

    def read(self, path, size, offset, fh):
        self._enter("read", path)
        os.lseek(fh, offset, os.SEEK_SET)
        return os.read(fh, size)

    def release(self, path, fh):
        os.close(fh)

    def statfs(self, path):
        st = os.statvfs(os.path.join(self.source, path.lstrip("/")))
        return {k: getattr(st, k) for k in ("f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail",
                                            "f_ffree", "f_files", "f_flag", "f_frsize", "f_namemax")}


def main():
    source, mount, control, log = sys.argv[1:5]
    limit = float(sys.argv[5]) if len(sys.argv) > 5 else 15.0
    FUSE(SlowFS(os.path.abspath(source), control, log, limit), mount, foreground=True, ro=True,
         nothreads=False)


if __name__ == "__main__":
    main()
