#pragma once

#include "core/storage/syscalls.h"

#include <csignal>

// Storage calls that kill the process at the n-th write-side call: open, pwrite (after writing half of
// its bytes, a torn write), fdatasync, fsync, ftruncate, unlink, rename. Installed in a forked child,
// which sets crashAt and starts counting from 0.
struct CrashingCalls {
    static inline int crashAt = 0;
    static inline int callsSoFar = 0;
    static void crashHere() {
        if (++callsSoFar == crashAt)
            ::raise(SIGKILL);
    }
    static const ombrisa::StorageSyscalls& real() { return ombrisa::realStorageSyscalls(); }
    static int open(const char* path, int flags, mode_t mode) {
        crashHere();
        return real().open(path, flags, mode);
    }
    static ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
        if (callsSoFar + 1 == crashAt && count > 1)
            real().pwrite(fd, buffer, count / 2, offset);
        crashHere();
        return real().pwrite(fd, buffer, count, offset);
    }
    static int fdatasync(int fd) {
        crashHere();
        return real().fdatasync(fd);
    }
    static int fsync(int fd) {
        crashHere();
        return real().fsync(fd);
    }
    static int ftruncate(int fd, off_t length) {
        crashHere();
        return real().ftruncate(fd, length);
    }
    static int unlink(const char* path) {
        crashHere();
        return real().unlink(path);
    }
    static int rename(const char* from, const char* to) {
        crashHere();
        return real().rename(from, to);
    }
    static int fcntlLock(int fd, int command, struct flock* lock) { return real().fcntlLock(fd, command, lock); }
    static constexpr ombrisa::StorageSyscalls kTable{open,      pwrite, fdatasync, fcntlLock,
                                                     ftruncate, unlink, rename,    fsync};
};
