#include "core/storage/recordfile.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrisa {
namespace {

std::atomic<int> lockTimeoutMs{15000};
constexpr qsizetype kMaxPathLength = 260;
constexpr std::size_t kReadAheadBytes = 256 * 1024;

int openReadWrite(const QByteArray& path) {
    for (;;) {
        const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
        if (fd >= 0 || errno != ENOENT)
            return fd;
        const int created = ::open(path.constData(), O_RDWR | O_CLOEXEC | O_CREAT | O_EXCL, 0666);
        if (created >= 0 || errno != EEXIST)
            return created;
        // Another workstation created it between the two calls: open theirs.
    }
}

} // namespace

TRecordFile::~TRecordFile() {
    Close();
}

void TRecordFile::SetLockTimeoutMs(int milliseconds) {
    lockTimeoutMs = milliseconds;
}

bool TRecordFile::fail(const QString& what, int err) {
    error_ = err ? QStringLiteral("%1: %2 (%3)").arg(what, path_, QString::fromLocal8Bit(std::strerror(err)))
                 : QStringLiteral("%1: %2").arg(what, path_);
    return false;
}

bool TRecordFile::failSize() {
    return fail(QStringLiteral("dimensione del record errata"), 0);
}

bool TRecordFile::lock(Access access) {
    struct flock fl {};
    fl.l_type = access == Access::Read ? F_RDLCK : F_WRLCK;
    fl.l_whence = SEEK_SET;
#ifdef F_OFD_SETLK
    // Open-file-description locks belong to this open file, not to the process, so a second
    // TRecordFile on the same archive in this process cannot release them by closing.
    const int command = F_OFD_SETLK;
#else
    const int command = F_SETLK;
#endif
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(lockTimeoutMs.load());
    for (;;) {
        if (::fcntl(fd_, command, &fl) == 0)
            return true;
        const int err = errno;
        if (err == EINTR)
            continue;
        if (err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS || err == EINVAL)
            return true; // a file system without record locks: work as without coordination
        if (err != EACCES && err != EAGAIN)
            return fail(QStringLiteral("impossibile bloccare l'archivio"), err);
        if (std::chrono::steady_clock::now() >= deadline)
            return fail(QStringLiteral("l'archivio è occupato da un'altra postazione"), 0);
        QThread::msleep(5);
    }
}

bool TRecordFile::OpenOrCreate(const QString& path, std::size_t recordSize, Access access) {
    Close();
    path_ = path;
    error_.clear();
    recordSize_ = recordSize;
    access_ = access;
    position_ = count_ = partialTail_ = 0;
    bufferFirst_ = bufferCount_ = 0;
    dirty_ = false;
    if (recordSize == 0)
        return failSize();
    if (path.size() >= kMaxPathLength)
        return fail(QStringLiteral("percorso troppo lungo"), 0);
    fd_ = openReadWrite(path.toLocal8Bit());
    if (fd_ < 0)
        return fail(QStringLiteral("impossibile aprire l'archivio in lettura e scrittura"), errno);
    struct stat st {};
    if (!lock(access) || ::fstat(fd_, &st) != 0) {
        const int err = errno;
        if (error_.isEmpty())
            fail(QStringLiteral("impossibile leggere la lunghezza dell'archivio"), err);
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        return fail(QStringLiteral("non è un file"), 0);
    }
    count_ = st.st_size / static_cast<std::int64_t>(recordSize);
    partialTail_ = st.st_size % static_cast<std::int64_t>(recordSize);
    return true;
}

bool TRecordFile::Seek(std::int64_t index) {
    if (fd_ < 0)
        return fail(QStringLiteral("archivio non aperto"), 0);
    if (index < 0 || index > count_)
        return fail(QStringLiteral("posizione %1 fuori dall'archivio di %2 schede").arg(index).arg(count_), 0);
    position_ = index;
    return true;
}

bool TRecordFile::ReadRecord(void* buffer) {
    if (fd_ < 0)
        return fail(QStringLiteral("archivio non aperto"), 0);
    if (position_ >= count_)
        return fail(QStringLiteral("lettura oltre la fine dell'archivio"), 0);
    if (position_ < bufferFirst_ || position_ >= bufferFirst_ + bufferCount_) {
        const std::int64_t perChunk = std::max<std::int64_t>(1, kReadAheadBytes / recordSize_);
        const std::int64_t wanted = std::min(perChunk, count_ - position_);
        buffer_.resize(static_cast<std::size_t>(wanted) * recordSize_);
        std::size_t done = 0;
        const off_t offset = static_cast<off_t>(position_) * static_cast<off_t>(recordSize_);
        while (done < buffer_.size()) {
            const ssize_t n =
                ::pread(fd_, buffer_.data() + done, buffer_.size() - done, offset + static_cast<off_t>(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return fail(QStringLiteral("errore di lettura"), errno);
            if (n == 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        bufferFirst_ = position_;
        bufferCount_ = static_cast<std::int64_t>(done / recordSize_);
        if (bufferCount_ == 0)
            return fail(QStringLiteral("lettura oltre la fine dell'archivio"), 0);
    }
    std::memcpy(buffer, buffer_.data() + static_cast<std::size_t>(position_ - bufferFirst_) * recordSize_, recordSize_);
    ++position_;
    return true;
}

bool TRecordFile::WriteRecord(const void* buffer) {
    if (fd_ < 0)
        return fail(QStringLiteral("archivio non aperto"), 0);
    if (access_ != Access::Write)
        return fail(QStringLiteral("archivio aperto in sola lettura"), 0);
    const off_t offset = static_cast<off_t>(position_) * static_cast<off_t>(recordSize_);
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < recordSize_) { // one call; the loop only resumes after an interruption
        const ssize_t n = ::pwrite(fd_, bytes + done, recordSize_ - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(QStringLiteral("errore di scrittura"), n < 0 ? errno : ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    dirty_ = true;
    if (position_ >= bufferFirst_ && position_ < bufferFirst_ + bufferCount_)
        std::memcpy(buffer_.data() + static_cast<std::size_t>(position_ - bufferFirst_) * recordSize_, bytes,
                    recordSize_);
    if (position_ == count_) {
        ++count_;
        partialTail_ = 0;
    }
    ++position_;
    return true;
}

bool TRecordFile::Close() {
    if (fd_ < 0)
        return true;
    bool ok = true;
    if (dirty_ && ::fdatasync(fd_) != 0)
        ok = fail(QStringLiteral("impossibile salvare su disco"), errno);
    if (::close(fd_) != 0 && ok)
        ok = fail(QStringLiteral("errore di chiusura"), errno);
    fd_ = -1;
    dirty_ = false;
    buffer_.clear();
    buffer_.shrink_to_fit();
    bufferFirst_ = bufferCount_ = 0;
    return ok;
}

} // namespace ombrisa
