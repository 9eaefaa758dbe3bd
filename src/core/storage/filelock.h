#pragma once

#include <QString>
#include <functional>

namespace ombrisa {

// The warning shown once per run when the folder's file system refuses record locks.
inline const QString kLocksRefusedWarning =
    QStringLiteral("Attenzione: il disco della cartella dei dati non permette di bloccare gli archivi.\n\r\n\r"
                   "La cartella non può essere usata in sicurezza da più postazioni contemporaneamente: "
                   "finché il problema non è risolto, usare il programma da una sola postazione.");

// Told when an archive is busy with another workstation and the open has to wait for its lock. The user
// interface installs one to show the busy cursor; core does the waiting.
class LockWaitHook {
public:
    virtual ~LockWaitHook() = default;
    virtual void waitStarted() = 0;
    // Called about every 50 milliseconds while waiting.
    virtual void stillWaiting() {}
    virtual void waitEnded() = 0;
};

// nullptr removes the hook. The hook is called on the thread that opens the archive.
void setLockWaitHook(LockWaitHook* hook);

// Called once per run, the first time a file system refuses locks, with the archive's path.
void setLocksRefusedHandler(std::function<void(const QString& path)> handler);
// Forgets that the warning was given (tests).
void resetLocksRefusedWarning();

enum class LockResult {
    Locked,  // the lock is held until the file is closed
    Refused, // the file system has no record locks: the file is open without coordination
    Busy,    // another workstation kept its lock past the time limit
    Failed,  // another error; errno tells which
};

// Takes a shared or exclusive lock on the whole of `fd`, waiting up to `timeoutMs` for other
// workstations in the kernel's own wait (served as soon as the lock is released, not at the next poll),
// interrupted every 50 ms by a timer signal of this thread to look at the clock and call the hook.
// Open-file-description locks, so that two opens in one process never release each other's lock;
// classic record locks where the kernel lacks them.
LockResult lockWholeFile(int fd, bool exclusive, int timeoutMs, const QString& path);

} // namespace ombrisa
