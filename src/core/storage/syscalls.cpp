#include "core/storage/syscalls.h"

#include <atomic>
#include <cstdio>
#include <unistd.h>

namespace ombrisa {
namespace {

int realOpen(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
int realFcntlLock(int fd, int command, struct flock* lock) {
    return ::fcntl(fd, command, lock);
}
int realRename(const char* from, const char* to) {
    return ::rename(from, to);
}

const StorageSyscalls kReal{realOpen, ::pwrite, ::fdatasync, realFcntlLock, ::ftruncate, ::unlink, realRename, ::fsync};
std::atomic<const StorageSyscalls*> current{&kReal};

} // namespace

const StorageSyscalls& storageSyscalls() {
    return *current.load(std::memory_order_acquire);
}

const StorageSyscalls& realStorageSyscalls() {
    return kReal;
}

void setStorageSyscalls(const StorageSyscalls* table) {
    current.store(table ? table : &kReal, std::memory_order_release);
}

} // namespace ombrisa
