#include "core/storage/filelock.h"

#include "core/storage/syscalls.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

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

// One attempt, blocking or not: 0, or -1 with errno. Falls back to classic record locks once the kernel
// has said it does not know open-file-description locks.
int tryLock(int fd, struct flock& fl, bool wait) {
#ifdef F_OFD_SETLK
    if (!noOfdLocks.load()) {
        fl.l_pid = 0; // required by open-file-description locks
        if (storageSyscalls().fcntlLock(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) == 0)
            return 0;
        if (errno != EINVAL)
            return -1;
        noOfdLocks = true;
    }
#endif
    return storageSyscalls().fcntlLock(fd, wait ? F_SETLKW : F_SETLK, &fl);
}

// How often a blocked wait looks at the clock and lets the window paint.
constexpr long kTickMs = 50;

void wakeUp(int) {}

// The signal that interrupts a blocked lock request at every tick: a handler that does nothing, installed
// without SA_RESTART so that the request returns EINTR.
int tickSignal() {
    static const int signal = [] {
        const int s = SIGRTMIN + 3;
        struct sigaction action {};
        action.sa_handler = wakeUp;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        ::sigaction(s, &action, nullptr);
        return s;
    }();
    return signal;
}

// A timer that sends tickSignal() to this thread every kTickMs while it lives, with the signal unblocked.
class Ticker {
public:
    Ticker() {
        const int signal = tickSignal();
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, signal);
        pthread_sigmask(SIG_UNBLOCK, &set, &saved_);
        struct sigevent event {};
        event.sigev_notify = SIGEV_THREAD_ID;
        event.sigev_signo = signal;
#ifdef sigev_notify_thread_id
        event.sigev_notify_thread_id = static_cast<pid_t>(::syscall(SYS_gettid));
#else
        event._sigev_un._tid = static_cast<pid_t>(::syscall(SYS_gettid));
#endif
        armed_ = ::timer_create(CLOCK_MONOTONIC, &event, &timer_) == 0;
        if (armed_)
            run(true);
    }
    // Stopped while the hook runs, so that the window's own system calls are not interrupted. A timer
    // that cannot be started again leaves the wait to polling, never to a sleep without end.
    void run(bool ticking) {
        struct itimerspec every {};
        every.it_value.tv_nsec = ticking ? kTickMs * 1000000L : 0;
        every.it_interval.tv_nsec = every.it_value.tv_nsec;
        if (::timer_settime(timer_, 0, &every, nullptr) != 0 && ticking) {
            ::timer_delete(timer_);
            armed_ = false;
        }
    }
    ~Ticker() {
        if (armed_)
            ::timer_delete(timer_);
        pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
    }
    Ticker(const Ticker&) = delete;
    Ticker& operator=(const Ticker&) = delete;
    // Without a timer the wait cannot be interrupted: it polls instead.
    bool armed() const { return armed_; }

private:
    timer_t timer_{};
    bool armed_ = false;
    sigset_t saved_{};
};

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
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    LockWaitHook* hook = nullptr;
    std::unique_ptr<Ticker> ticker;
    auto result = LockResult::Failed;
    for (;;) {
        // The first attempt does not wait. Then the wait is the kernel's: the request sleeps until the
        // lock is released and is served at once, instead of polling and finding the lock taken again by
        // someone who came later. A tick interrupts it to look at the clock and let the window paint.
        const bool wait = ticker && ticker->armed();
        if (tryLock(fd, fl, wait) == 0) {
            result = LockResult::Locked;
            break;
        }
        const int err = errno;
        if (refusedByFileSystem(err)) {
            warnRefused(path);
            result = LockResult::Refused;
            break;
        }
        if (err != EACCES && err != EAGAIN && err != EINTR && err != EDEADLK) {
            result = LockResult::Failed;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            result = LockResult::Busy;
            break;
        }
        if (!ticker)
            ticker = std::make_unique<Ticker>();
        if (!hook && (hook = waitHook.load()))
            hook->waitStarted();
        if (hook && (err == EINTR || !wait)) {
            if (wait)
                ticker->run(false);
            hook->stillWaiting();
            if (wait && ticker->armed())
                ticker->run(true);
        }
        if (!wait || err == EDEADLK) { // no timer, or classic locks crossing another process's wait
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
            const long pause = static_cast<long>(std::clamp<long long>(left, 1, kTickMs));
            struct timespec ts {0, pause * 1000000L};
            ::nanosleep(&ts, nullptr);
        }
    }
    ticker.reset();
    const int savedErrno = errno;
    if (hook)
        hook->waitEnded();
    errno = savedErrno;
    return result;
}

} // namespace ombrisa
