#pragma once

#include "core/storage/syscalls.h"

#include <cerrno>
#include <vector>

// Injected failures of the storage layer's system calls, installed for the life of one FaultScope.
struct Faults {
    long writeBudget = -1;         // bytes every pwrite together may still write; then one ENOSPC. -1: no limit
    bool writesStayFailed = false; // after the budget, every write fails (the rollback's too)
    int failSyncNumber = 0;        // the n-th fdatasync (from 1) fails with EIO; 0: none
    int ofdLockErrno = 0;          // F_OFD_SETLK fails with this errno
    int classicLockErrno = 0;
    int openWriteErrno = 0; // any open asking for write access or creation fails with this errno
    int openReadErrno = 0;  // any open for reading only fails with this errno
    int unlinkErrno = 0;    // removing a file fails with this errno
    int truncateErrno = 0;  // cutting a file fails with this errno
    int renameErrno = 0;    // renaming a file fails with this errno
    bool locksInvisible = false; // locks are granted and tested as if no other workstation held any (a
                                 // share whose locks stay on each workstation)
    int syncs = 0;
    std::vector<int> lockCommands;
};

inline Faults* activeFaults = nullptr;

class FaultScope {
public:
    FaultScope() {
        activeFaults = &faults;
        ombrisa::setStorageSyscalls(&kTable);
    }
    ~FaultScope() {
        ombrisa::setStorageSyscalls(nullptr);
        activeFaults = nullptr;
    }
    FaultScope(const FaultScope&) = delete;
    FaultScope& operator=(const FaultScope&) = delete;

    Faults faults;

private:
    static const ombrisa::StorageSyscalls& real() { return ombrisa::realStorageSyscalls(); }
    static int open(const char* path, int flags, mode_t mode) {
        if (activeFaults->openWriteErrno && (flags & (O_WRONLY | O_RDWR | O_CREAT))) {
            errno = activeFaults->openWriteErrno;
            return -1;
        }
        if (activeFaults->openReadErrno && !(flags & (O_WRONLY | O_RDWR | O_CREAT))) {
            errno = activeFaults->openReadErrno;
            return -1;
        }
        return real().open(path, flags, mode);
    }
    static int unlink(const char* path) {
        if (activeFaults->unlinkErrno) {
            errno = activeFaults->unlinkErrno;
            return -1;
        }
        return real().unlink(path);
    }
    static ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
        long& budget = activeFaults->writeBudget;
        if (budget < 0)
            return real().pwrite(fd, buffer, count, offset);
        if (budget == 0) {
            if (!activeFaults->writesStayFailed)
                budget = -1; // a transient failure: the next write (the rollback's) goes through
            errno = ENOSPC;
            return -1;
        }
        const size_t allowed = count < static_cast<size_t>(budget) ? count : static_cast<size_t>(budget);
        const ssize_t n = real().pwrite(fd, buffer, allowed, offset);
        if (n > 0)
            budget -= n;
        return n;
    }
    static int fdatasync(int fd) {
        if (++activeFaults->syncs == activeFaults->failSyncNumber) {
            errno = EIO;
            return -1;
        }
        return real().fdatasync(fd);
    }
    static int fcntlLock(int fd, int command, struct flock* lock) {
        activeFaults->lockCommands.push_back(command);
        if (activeFaults->locksInvisible) {
            if (command == F_GETLK
#ifdef F_OFD_GETLK
                || command == F_OFD_GETLK
#endif
            )
                lock->l_type = F_UNLCK;
            return 0;
        }
#ifdef F_OFD_SETLK
        if (command == F_OFD_SETLK && activeFaults->ofdLockErrno) {
            errno = activeFaults->ofdLockErrno;
            return -1;
        }
#endif
        if (command == F_SETLK && activeFaults->classicLockErrno) {
            errno = activeFaults->classicLockErrno;
            return -1;
        }
        return real().fcntlLock(fd, command, lock);
    }
    static int rename(const char* from, const char* to) {
        if (activeFaults->renameErrno) {
            errno = activeFaults->renameErrno;
            return -1;
        }
        return real().rename(from, to);
    }
    static int fsync(int fd) {
        return real().fsync(fd);
    }
    static int ftruncate(int fd, off_t length) {
        if (activeFaults->truncateErrno) {
            errno = activeFaults->truncateErrno;
            return -1;
        }
        return real().ftruncate(fd, length);
    }

    static constexpr ombrisa::StorageSyscalls kTable{open,      pwrite, fdatasync, fcntlLock,
                                                     ftruncate, unlink, rename,    fsync};
};
