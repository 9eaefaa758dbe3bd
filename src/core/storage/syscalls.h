#pragma once

#include <fcntl.h>
#include <unistd.h>
#include <sys/types.h>

namespace ombrisa {

// The system calls through which the storage layer opens, locks, writes, flushes, cuts and renames archive
// files.
// Production uses the real calls; tests install a table of their own to make any of them fail or stop
// short after some bytes, and check what the archive looks like afterwards.
struct StorageSyscalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*pwrite)(int fd, const void* buffer, size_t count, off_t offset);
    int (*fdatasync)(int fd);
    int (*fcntlLock)(int fd, int command, struct flock* lock); // F_OFD_SETLK / F_SETLK
    int (*ftruncate)(int fd, off_t length);
    int (*unlink)(const char* path); // removing a journal
    int (*rename)(const char* from, const char* to); // a file taking another's place (restore, generate)
    int (*fsync)(int fd);                            // a folder's entries reaching the disk
};

// The table in use.
const StorageSyscalls& storageSyscalls();
// The real calls, for test tables that forward to them.
const StorageSyscalls& realStorageSyscalls();
// Installs `table` (kept by pointer, it must outlive its use); nullptr restores the real calls.
void setStorageSyscalls(const StorageSyscalls* table);

} // namespace ombrisa
