#include "core/import/appendall.h"

#include "core/storage/filelock.h"
#include "core/storage/recordfile.h"
#include "core/storage/syscalls.h"

#include <QFile>
#include <QHashFunctions>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ombrisa {

namespace {

constexpr std::size_t kChunkBytes = 1 << 20;

QString systemError(const QString& what, int err) {
    return err ? QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(err))) : what;
}

bool preadAll(int fd, void* data, std::size_t size, off_t offset) {
    auto* bytes = static_cast<char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, bytes + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool pwriteAll(int fd, const std::uint8_t* data, std::size_t size, off_t offset) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = storageSyscalls().pwrite(fd, data + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

void addToFingerprint(ArchiveFingerprint& fingerprint, const void* record, std::size_t recordSize) {
    ++fingerprint.count;
    fingerprint.hash = qHashBits(record, recordSize, static_cast<std::size_t>(fingerprint.hash ^ 0x9E3779B97F4A7C15ull));
}

AppendOutcome appendAllOrNothing(const QString& path, std::size_t recordSize, std::span<const std::uint8_t> records,
                                 const ArchiveFingerprint* expected, const AppendProgress& progress,
                                 std::int64_t* firstNumber, QString* error) {
    auto failWith = [&](const QString& text) {
        if (error)
            *error = text;
        return AppendOutcome::Failed;
    };
    if (recordSize == 0 || records.size() % recordSize != 0)
        return failWith(QStringLiteral("schede di lunghezza errata"));

    // The archive's own open first: it creates a missing archive, refuses what is not one (a folder, a
    // broken link) and rolls back a journal a dead process left.
    {
        TRecordFile file;
        if (!file.OpenOrCreate(path, recordSize, TRecordFile::Access::Write))
            return failWith(file.ErrorString());
        if (!file.Close())
            return failWith(file.ErrorString());
    }

    const QByteArray local = QFile::encodeName(path);
    const int fd = storageSyscalls().open(local.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY, 0);
    if (fd < 0)
        return failWith(systemError(QStringLiteral("impossibile aprire l'archivio"), errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    switch (lockWholeFile(fd, true, 15000, path)) {
    case LockResult::Locked:
    case LockResult::Refused:
        break;
    case LockResult::Busy:
        return failWith(QStringLiteral("l'archivio è occupato da un'altra postazione"));
    case LockResult::Failed:
        return failWith(systemError(QStringLiteral("impossibile bloccare l'archivio"), errno));
    }
    if (QFile::exists(TRecordFile::JournalPath(path)))
        return failWith(QStringLiteral("un'altra operazione sull'archivio è in corso di ripristino: riprovare"));

    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return failWith(systemError(QStringLiteral("impossibile leggere la lunghezza dell'archivio"), errno));
    const off_t originalSize = st.st_size;
    const std::int64_t count = originalSize / static_cast<off_t>(recordSize);
    const off_t start = static_cast<off_t>(count) * static_cast<off_t>(recordSize); // over a partial record

    if (expected) {
        ArchiveFingerprint now;
        std::vector<std::uint8_t> chunk(std::max(recordSize, kChunkBytes / recordSize * recordSize));
        const std::int64_t perChunk = static_cast<std::int64_t>(chunk.size() / recordSize);
        for (std::int64_t at = 0; at < count; at += perChunk) {
            const std::int64_t n = std::min(perChunk, count - at);
            if (!preadAll(fd, chunk.data(), static_cast<std::size_t>(n) * recordSize,
                          static_cast<off_t>(at) * static_cast<off_t>(recordSize)))
                return failWith(systemError(QStringLiteral("errore di lettura"), errno));
            for (std::int64_t i = 0; i < n; ++i)
                addToFingerprint(now, chunk.data() + static_cast<std::size_t>(i) * recordSize, recordSize);
        }
        if (!(now == *expected))
            return AppendOutcome::Changed;
    }

    const auto total = static_cast<std::int64_t>(records.size() / recordSize);
    if (firstNumber)
        *firstNumber = count + 1;
    // A partial record at the end (a write cut off long ago, never counted) is written over; its bytes
    // are kept so that an undo puts them back.
    std::vector<std::uint8_t> tail(static_cast<std::size_t>(originalSize - start));
    if (!tail.empty() && !preadAll(fd, tail.data(), tail.size(), start))
        return failWith(systemError(QStringLiteral("errore di lettura"), errno));
    // Undoes everything: the archive gets back its length and its bytes.
    auto undo = [&](AppendOutcome outcome, const QString& why) {
        const bool undone = (tail.empty() || pwriteAll(fd, tail.data(), tail.size(), start)) &&
                            storageSyscalls().ftruncate(fd, originalSize) == 0 &&
                            storageSyscalls().fdatasync(fd) == 0;
        if (error)
            *error = undone ? why
                            : why + QStringLiteral("; l'archivio non è stato riportato com'era: ") +
                                  QString::fromLocal8Bit(std::strerror(errno));
        return outcome;
    };
    const std::size_t perWrite = std::max(recordSize, kChunkBytes / recordSize * recordSize);
    for (std::size_t done = 0; done < records.size();) {
        if (progress && !progress(static_cast<std::int64_t>(done / recordSize), total))
            return undo(AppendOutcome::Cancelled, QStringLiteral("importazione annullata"));
        const std::size_t n = std::min(perWrite, records.size() - done);
        if (!pwriteAll(fd, records.data() + done, n, start + static_cast<off_t>(done)))
            return undo(AppendOutcome::Failed, systemError(QStringLiteral("errore di scrittura"), errno));
        done += n;
    }
    if (progress && !progress(total, total))
        return undo(AppendOutcome::Cancelled, QStringLiteral("importazione annullata"));
    if (storageSyscalls().fdatasync(fd) != 0)
        return undo(AppendOutcome::Failed, systemError(QStringLiteral("impossibile salvare su disco"), errno));
    return AppendOutcome::Appended;
}

} // namespace ombrisa
