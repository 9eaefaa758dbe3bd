#include "core/storage/filelock.h"

#include "core/storage/syscalls.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>

namespace ombrisa {
namespace {

std::atomic<LockWaitHook*> waitHook{nullptr};
std::atomic<bool> noOfdLocks{false}; // the kernel answered EINVAL to F_OFD_SETLK once
std::atomic<bool> refusedWarned{false};
std::mutex handlerMutex;
std::function<void(const QString&)> refusedHandler;

bool refusedByFileSystem(int err) {
    return err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS || err == EINVAL;
}

void warnRefused(const QString& path) {
    if (refusedWarned.exchange(true))
        return;
    std::function<void(const QString&)> handler;
    {
        std::lock_guard guard(handlerMutex);
        handler = refusedHandler;
    }
    if (handler)
        handler(path);
}

// One attempt: 0, or -1 with errno. Falls back to classic record locks once the kernel has said it does
// not know open-file-description locks.
int tryLock(int fd, struct flock& fl) {
#ifdef F_OFD_SETLK
    if (!noOfdLocks.load()) {
        fl.l_pid = 0; // required by open-file-description locks
        if (storageSyscalls().fcntlLock(fd, F_OFD_SETLK, &fl) == 0)
            return 0;
        if (errno != EINVAL)
            return -1;
        noOfdLocks = true;
    }
#endif
    return storageSyscalls().fcntlLock(fd, F_SETLK, &fl);
}

} // namespace

void setLockWaitHook(LockWaitHook* hook) {
    waitHook = hook;
}

void setLocksRefusedHandler(std::function<void(const QString&)> handler) {
    std::lock_guard guard(handlerMutex);
    refusedHandler = std::move(handler);
}

void resetLocksRefusedWarning() {
    refusedWarned = false;
    noOfdLocks = false;
}

LockResult lockWholeFile(int fd, bool exclusive, int timeoutMs, const QString& path) {
    struct flock fl {};
    fl.l_type = exclusive ? F_WRLCK : F_RDLCK;
    fl.l_whence = SEEK_SET;
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + std::chrono::milliseconds(timeoutMs);
    LockWaitHook* hook = nullptr;
    auto result = LockResult::Failed;
    int pauseMs = 2;
    for (;;) {
        if (tryLock(fd, fl) == 0) {
            result = LockResult::Locked;
            break;
        }
        const int err = errno;
        if (err == EINTR)
            continue;
        if (refusedByFileSystem(err)) {
            warnRefused(path);
            result = LockResult::Refused;
            break;
        }
        if (err != EACCES && err != EAGAIN) {
            result = LockResult::Failed;
            break;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            result = LockResult::Busy;
            break;
        }
        if (!hook && (hook = waitHook.load()))
            hook->waitStarted();
        if (hook)
            hook->stillWaiting();
        // Back off: a save elsewhere takes milliseconds, a long scan seconds; never busy-poll the share.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        QThread::msleep(static_cast<unsigned long>(std::clamp<long long>(left, 1, pauseMs)));
        pauseMs = std::min(pauseMs * 2, 200);
    }
    const int savedErrno = errno;
    if (hook)
        hook->waitEnded();
    errno = savedErrno;
    return result;
}

} // namespace ombrisa
