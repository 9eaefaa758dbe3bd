#include "core/storage/recordfile.h"

#include "core/storage/filelock.h"
#include "core/storage/syscalls.h"
#include "core/storage/syserror.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrisa {
namespace {

std::atomic<int> lockTimeoutMs{15000};
constexpr qsizetype kMaxPathLength = 260;
constexpr std::size_t kReadAheadBytes = 256 * 1024;
// Opening retries only when another workstation creates or removes the file between two calls.
constexpr int kOpenAttempts = 8;

// Journal layout, little-endian: a header of magic, record size, the archive's length before the
// operation and a checksum of those; then entries of one fixed size: a tagged offset, recordSize bytes
// and a checksum of both. An entry whose checksum fails was cut off while being written, before the
// archive was touched, and ends the journal. The tag in the offset's two high bits says what the bytes
// are:
//   00  the old bytes of the record at that offset, put back by a recovery;
//   10  the bytes this operation is about to write at that offset (a rewrite or an append);
//   11  a piece (numbered in the low bits) of the archive's identity: machine, device and inode.
// Programs that knew only the first kind read tagged offsets as negative ones and skip them, so every
// version rolls back the journals of every other. A recovery applies a journal that carries the
// identity only when the archive is still the file it names and holds, where the operation wrote, the
// old or the new bytes; otherwise the journal belongs to a file that was since replaced and is set aside.
constexpr char kJournalMagic[8] = {'O', 'M', 'B', 'J', 'R', 'N', 'L', '1'};
constexpr std::size_t kJournalHeader = 32;
constexpr std::size_t kMaxJournalRecord = 1 << 20;
constexpr std::uint64_t kTagMask = 3ull << 62;
constexpr std::uint64_t kTagExtent = 1ull << 62;
constexpr std::uint64_t kTagNew = 2ull << 62;
constexpr std::uint64_t kTagIdentity = 3ull << 62;
constexpr std::size_t kIdentityBytes = 24;
// The most bytes of consecutive appends written with one call.
constexpr std::size_t kAppendRunBytes = 4 << 20;

std::uint64_t checksum(const std::uint8_t* data, std::size_t size, std::uint64_t hash = 0xcbf29ce484222325ull) {
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 0x100000001b3ull; // FNV-1a
    return hash;
}

void putU64(std::uint8_t* at, std::uint64_t value) {
    qToLittleEndian(value, at);
}
std::uint64_t getU64(const std::uint8_t* at) {
    return qFromLittleEndian<std::uint64_t>(at);
}

// Writes all of `size` bytes at `offset` through the seam; false with errno set otherwise.
bool pwriteAll(int fd, const void* data, std::size_t size, std::int64_t offset) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = storageSyscalls().pwrite(fd, bytes + done, size - done,
                                                   static_cast<off_t>(offset) + static_cast<off_t>(done));
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

bool preadAll(int fd, void* data, std::size_t size, std::int64_t offset, std::size_t& done) {
    auto* bytes = static_cast<std::uint8_t*>(data);
    done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, bytes + done, size - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Makes a new file's name (a journal, an archive) durable in its folder.
void syncFolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool exists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

// An emptied journal (a finished save whose removal failed) counts as absent.
bool journalHoldsBytes(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && (!S_ISREG(st.st_mode) || st.st_size > 0);
}

// This machine, so that device and inode numbers are compared only where they name the same file: two
// workstations see one shared file under numbers of their own.
std::uint64_t machineHash() {
    static const std::uint64_t hash = [] {
        QByteArray id = QSysInfo::machineUniqueId();
        if (id.isEmpty())
            id = QSysInfo::machineHostName().toUtf8();
        return checksum(reinterpret_cast<const std::uint8_t*>(id.constData()), static_cast<std::size_t>(id.size()));
    }();
    return hash;
}

std::array<std::uint8_t, kIdentityBytes> identityOf(const struct stat& st) {
    std::array<std::uint8_t, kIdentityBytes> identity{};
    putU64(identity.data(), machineHash());
    putU64(identity.data() + 8, static_cast<std::uint64_t>(st.st_dev));
    putU64(identity.data() + 16, static_cast<std::uint64_t>(st.st_ino));
    return identity;
}

// Appends one journal entry: the tagged offset, `count` bytes padded with zeros to the record size, and
// the checksum of both.
void addEntry(std::vector<std::uint8_t>& journal, std::size_t recordSize, std::uint64_t tagged,
              const std::uint8_t* bytes, std::size_t count) {
    const std::size_t at = journal.size();
    journal.resize(at + 8 + recordSize + 8);
    putU64(journal.data() + at, tagged);
    std::memcpy(journal.data() + at + 8, bytes, count);
    putU64(journal.data() + at + 8 + recordSize, checksum(journal.data() + at, 8 + recordSize));
}

// The start of a new journal: the header and the identity of the archive `st` describes.
std::vector<std::uint8_t> journalStart(std::size_t recordSize, std::int64_t originalSize, const struct stat& st) {
    std::vector<std::uint8_t> journal(kJournalHeader);
    std::memcpy(journal.data(), kJournalMagic, 8);
    putU64(journal.data() + 8, recordSize);
    putU64(journal.data() + 16, static_cast<std::uint64_t>(originalSize));
    putU64(journal.data() + 24, checksum(journal.data(), 24));
    const std::array<std::uint8_t, kIdentityBytes> identity = identityOf(st);
    for (std::size_t piece = 0; piece * recordSize < kIdentityBytes; ++piece)
        addEntry(journal, recordSize, kTagIdentity | piece, identity.data() + piece * recordSize,
                 std::min(recordSize, kIdentityBytes - piece * recordSize));
    return journal;
}

// What a journal says, read back.
struct JournalContents {
    std::uint64_t recordSize = 0;
    std::int64_t originalSize = 0;
    std::vector<std::pair<std::int64_t, const std::uint8_t*>> old;     // offset, old bytes
    std::vector<std::pair<std::int64_t, const std::uint8_t*>> written; // offset, bytes the operation wrote
    std::int64_t extentEnd = 0; // where records appended without their bytes in the journal end
    bool named = false;         // the identity is whole
    std::array<std::uint8_t, kIdentityBytes> identity{};
};

// Parses a journal whose header is sound; entries up to the first one cut off.
JournalContents parseJournal(const std::vector<std::uint8_t>& journal) {
    JournalContents c;
    c.recordSize = getU64(journal.data() + 8);
    c.originalSize = static_cast<std::int64_t>(getU64(journal.data() + 16));
    if (c.recordSize == 0 || c.recordSize > kMaxJournalRecord)
        return c;
    const std::size_t size = static_cast<std::size_t>(c.recordSize);
    const std::size_t pieces = (kIdentityBytes + size - 1) / size;
    std::vector<bool> havePiece(pieces, false);
    const std::size_t entry = 8 + size + 8;
    for (std::size_t at = kJournalHeader; at + entry <= journal.size(); at += entry) {
        const std::uint8_t* e = journal.data() + at;
        if (getU64(e + 8 + size) != checksum(e, 8 + size))
            break; // cut off while being written: the archive was not touched after it
        const std::uint64_t tagged = getU64(e);
        const auto offset = static_cast<std::int64_t>(tagged & ~kTagMask);
        switch (tagged & kTagMask) {
        case 0:
            c.old.emplace_back(offset, e + 8);
            break;
        case kTagNew:
            c.written.emplace_back(offset, e + 8);
            break;
        case kTagExtent:
            c.extentEnd = std::max(c.extentEnd, offset);
            break;
        case kTagIdentity:
            if (static_cast<std::uint64_t>(offset) < pieces) {
                const std::size_t from = static_cast<std::size_t>(offset) * size;
                std::memcpy(c.identity.data() + from, e + 8, std::min(size, kIdentityBytes - from));
                havePiece[static_cast<std::size_t>(offset)] = true;
            }
            break;
        default:
            break; // a kind of entry of a later version: not ours to apply
        }
    }
    c.named = std::all_of(havePiece.begin(), havePiece.end(), [](bool b) { return b; });
    return c;
}

// A named journal belongs to the archive open as `fd` (length `length`) only when the archive is the
// file it names (on this machine and device: the same inode), its length lies between the length
// before the operation and the end of what the operation wrote, and every byte where the operation
// wrote holds the old byte, a byte the operation wrote, or (past the old end) a zero of a file grown
// but not yet filled. A torn write of a crash passes; another file copied or restored in its place
// does not.
bool journalBelongs(const JournalContents& c, int fd, const struct stat& now) {
    const std::array<std::uint8_t, kIdentityBytes> here = identityOf(now);
    if (std::memcmp(c.identity.data(), here.data(), 16) == 0 && std::memcmp(c.identity.data() + 16, here.data() + 16, 8) != 0)
        return false; // same machine and device, another inode: the file was replaced
    const auto size = static_cast<std::int64_t>(c.recordSize);
    std::int64_t end = std::max(c.originalSize, c.extentEnd);
    for (const auto& w : c.written)
        end = std::max(end, w.first + size);
    if (now.st_size < c.originalSize || now.st_size > end)
        return false;
    std::map<std::int64_t, std::vector<const std::uint8_t*>> candidates;
    std::map<std::int64_t, bool> haveOld;
    for (const auto& o : c.old) {
        candidates[o.first].push_back(o.second);
        haveOld[o.first] = true;
    }
    for (const auto& w : c.written)
        candidates[w.first].push_back(w.second);
    std::vector<std::uint8_t> current(static_cast<std::size_t>(size));
    for (const auto& [offset, bytes] : candidates) {
        if (offset >= now.st_size)
            continue;
        const std::size_t wanted = static_cast<std::size_t>(std::min(size, now.st_size - offset));
        std::size_t got = 0;
        if (!preadAll(fd, current.data(), wanted, offset, got) || got != wanted)
            return false;
        const bool old = haveOld.count(offset) > 0;
        for (std::size_t i = 0; i < wanted; ++i) {
            const std::int64_t at = offset + static_cast<std::int64_t>(i);
            if (at < c.originalSize && !old)
                continue; // the cut-off tail of a crashed append, overwritten: nothing to compare with
            bool known = at >= c.originalSize && current[i] == 0;
            for (const std::uint8_t* b : bytes)
                known = known || b[i] == current[i];
            if (!known)
                return false;
        }
    }
    return true;
}

} // namespace

TRecordFile::~TRecordFile() {
    Close();
}

void TRecordFile::SetLockTimeoutMs(int milliseconds) {
    lockTimeoutMs = milliseconds;
}

int TRecordFile::LockTimeoutMs() {
    return lockTimeoutMs.load();
}

QString TRecordFile::JournalPath(const QString& archivePath) {
    return archivePath + QStringLiteral(".journal");
}

bool TRecordFile::SetAsideJournal(const QString& archivePath, QString* setAside, QString* error) {
    const QString journal = JournalPath(archivePath);
    const QByteArray from = journal.toLocal8Bit();
    if (!exists(from))
        return true;
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString target = QStringLiteral("%1.scartato-%2").arg(journal, stamp);
    for (int n = 2; exists(target.toLocal8Bit()); ++n)
        target = QStringLiteral("%1.scartato-%2-%3").arg(journal, stamp).arg(n);
    if (::rename(from.constData(), target.toLocal8Bit().constData()) != 0) {
        if (error)
            *error = QStringLiteral("impossibile mettere da parte il giornale di ripristino: %1 (%2)")
                         .arg(journal, systemErrorText(errno));
        return false;
    }
    syncFolderOf(from);
    if (setAside)
        *setAside = target;
    return true;
}

QStringList TRecordFile::SetAsideJournals(const QString& archivePath) {
    const QFileInfo info(JournalPath(archivePath));
    QStringList found;
    for (const QString& name :
         info.dir().entryList({info.fileName() + QStringLiteral(".scartato-*")}, QDir::Files | QDir::System, QDir::Name))
        found << info.dir().filePath(name);
    return found;
}

bool TRecordFile::Present(const QString& path) {
    return exists(path.toLocal8Bit());
}

bool TRecordFile::fail(const QString& what, int err) {
    error_ = err ? QStringLiteral("%1: %2 (%3)").arg(what, path_, systemErrorText(err))
                 : QStringLiteral("%1: %2").arg(what, path_);
    return false;
}

bool TRecordFile::failSize() {
    return fail(QStringLiteral("dimensione del record errata"), 0);
}

bool TRecordFile::failOpen(int err) {
    const QString name = QFileInfo(path_).fileName();
    switch (err) {
    case ELOOP:
        hint_ = QStringLiteral("%1 è un collegamento simbolico che rimanda a se stesso (un ciclo di collegamenti).")
                    .arg(name);
        return fail(QStringLiteral("ciclo di collegamenti simbolici"), err);
    case EISDIR:
        hint_ = QStringLiteral("Al posto dell'archivio %1 c'è una cartella.").arg(name);
        return fail(QStringLiteral("al posto dell'archivio c'è una cartella"), 0);
    default:
        return fail(access_ == Access::Read ? QStringLiteral("impossibile aprire l'archivio in lettura")
                                            : QStringLiteral("impossibile aprire l'archivio in lettura e scrittura"),
                    err);
    }
}

void TRecordFile::closeFd() {
    if (journalFd_ >= 0)
        ::close(journalFd_);
    journalFd_ = -1;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    open_ = false;
}

bool TRecordFile::OpenOrCreate(const QString& path, std::size_t recordSize, Access access) {
    Close();
    path_ = path;
    error_.clear();
    hint_.clear();
    recordSize_ = recordSize;
    access_ = access;
    if (recordSize == 0)
        return failSize();
    if (path.size() >= kMaxPathLength)
        return fail(QStringLiteral("percorso troppo lungo"), 0);
    return openFile(true);
}

bool TRecordFile::openFile(bool mayRecover) {
    position_ = count_ = partialTail_ = originalSize_ = 0;
    bufferFirst_ = bufferCount_ = 0;
    dirty_ = locksRefused_ = journalPending_ = false;
    journaled_.clear();
    journalEnd_ = 0;
    const QByteArray path = path_.toLocal8Bit();
    // Non-blocking, so that a FIFO in place of the archive cannot hold the open up; the flag means
    // nothing to regular files.
    const int mode = (access_ == Access::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    for (int attempt = 0; attempt < kOpenAttempts && fd_ < 0; ++attempt) {
        fd_ = storageSyscalls().open(path.constData(), mode, 0);
        if (fd_ >= 0)
            break;
        int err = errno;
        if (err == EINTR)
            continue;
        if (err != ENOENT)
            return failOpen(err);
        struct stat link {};
        if (::lstat(path.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
            hint_ = QStringLiteral("%1 è un collegamento simbolico a un file che non esiste (collegamento interrotto).")
                        .arg(QFileInfo(path_).fileName());
            return fail(QStringLiteral("collegamento simbolico interrotto"), 0);
        }
        fd_ = storageSyscalls().open(path.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_CREAT | O_EXCL, 0666);
        if (fd_ >= 0) {
            syncFolderOf(path); // a new archive's name reaches the disk with its first records
            break;
        }
        err = errno;
        if (err == EEXIST || err == EINTR)
            continue; // another workstation created it between the two calls: open theirs
        if (access_ == Access::Read && (err == EACCES || err == EROFS || err == EPERM)) {
            open_ = true; // nothing to read, and no permission to create it: an empty archive
            return true;
        }
        return failOpen(err);
    }
    if (fd_ < 0)
        return fail(QStringLiteral("l'archivio viene creato e rimosso di continuo"), 0);
    open_ = true;
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        const int err = errno;
        closeFd();
        return fail(QStringLiteral("impossibile leggere la lunghezza dell'archivio"), err);
    }
    if (!S_ISREG(st.st_mode)) {
        closeFd();
        if (S_ISDIR(st.st_mode))
            return failOpen(EISDIR);
        hint_ = QStringLiteral("Al posto dell'archivio %1 c'è un oggetto che non è un file.")
                    .arg(QFileInfo(path_).fileName());
        return fail(QStringLiteral("non è un file"), 0);
    }
    switch (lockWholeFile(fd_, access_ == Access::Write, lockTimeoutMs.load(), path_)) {
    case LockResult::Locked:
        break;
    case LockResult::Refused:
        locksRefused_ = true;
        break;
    case LockResult::Busy:
        closeFd();
        hint_ = QStringLiteral("L'archivio %1 è occupato da un'altra postazione: riprovare tra qualche istante.")
                    .arg(QFileInfo(path_).fileName());
        return fail(QStringLiteral("l'archivio è occupato da un'altra postazione"), 0);
    case LockResult::Failed: {
        const int err = errno;
        closeFd();
        return fail(QStringLiteral("impossibile bloccare l'archivio"), err);
    }
    }
    if (locksRefused_ && journalHoldsBytes(JournalPath(path_).toLocal8Bit())) {
        // Without locks a journal may belong to a save another workstation is making right now: rolling
        // it back would undo that save. Readers read on and say so; writers stop, since their own journal
        // would take its place.
        if (access_ == Access::Write) {
            closeFd();
            hint_ = QStringLiteral("L'archivio %1 ha un salvataggio non concluso e la cartella non permette di "
                                   "bloccare i file: controllare con la verifica degli archivi.")
                        .arg(QFileInfo(path_).fileName());
            return fail(QStringLiteral("salvataggio non concluso e blocchi rifiutati"), 0);
        }
        journalPending_ = true;
    } else if (exists(JournalPath(path_).toLocal8Bit())) {
        if (access_ == Access::Write) {
            if (!recoverJournal()) {
                closeFd();
                return false;
            }
        } else if (mayRecover) {
            // Rolling back needs the exclusive lock and write permission: let a writer do it, then
            // read what it left.
            closeFd();
            TRecordFile writer;
            if (writer.OpenOrCreate(path_, recordSize_, Access::Write))
                writer.Close();
            return openFile(false);
        } else {
            journalPending_ = journalHoldsBytes(JournalPath(path_).toLocal8Bit());
        }
    }
    if (::fstat(fd_, &st) != 0) {
        const int err = errno;
        closeFd();
        return fail(QStringLiteral("impossibile leggere la lunghezza dell'archivio"), err);
    }
    originalSize_ = st.st_size;
    count_ = st.st_size / static_cast<std::int64_t>(recordSize_);
    partialTail_ = st.st_size % static_cast<std::int64_t>(recordSize_);
    return true;
}

// Under the exclusive lock: puts back the old records a dead process saved, cuts the archive back to
// its length before that operation, flushes, and removes the journal.
bool TRecordFile::recoverJournal() {
    const QByteArray journalPath = JournalPath(path_).toLocal8Bit();
    const int jfd = ::open(journalPath.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (jfd < 0)
        return errno == ENOENT ? true : fail(QStringLiteral("impossibile leggere il giornale di ripristino"), errno);
    struct stat st {};
    std::vector<std::uint8_t> journal;
    std::size_t got = 0;
    bool readOk = ::fstat(jfd, &st) == 0 && S_ISREG(st.st_mode);
    if (readOk) {
        journal.resize(static_cast<std::size_t>(std::min<off_t>(st.st_size, 64 << 20)));
        readOk = preadAll(jfd, journal.data(), journal.size(), 0, got);
        journal.resize(got);
    }
    const int readErr = errno;
    ::close(jfd);
    if (!readOk)
        return fail(QStringLiteral("impossibile leggere il giornale di ripristino"), readErr);

    bool ok = true;
    if (journal.size() >= kJournalHeader && std::memcmp(journal.data(), kJournalMagic, 8) == 0 &&
        getU64(journal.data() + 24) == checksum(journal.data(), 24)) {
        const JournalContents c = parseJournal(journal);
        const auto size = static_cast<std::int64_t>(c.recordSize);
        struct stat now {};
        if (::fstat(fd_, &now) != 0)
            return fail(QStringLiteral("impossibile leggere la lunghezza dell'archivio"), errno);
        if (c.named && !journalBelongs(c, fd_, now)) {
            // Left beside a file that has since been replaced (copied back, restored): never applied.
            QString aside;
            QString error;
            if (!SetAsideJournal(path_, &aside, &error))
                return fail(error, 0);
            qWarning("%s", qPrintable(QStringLiteral("giornale di ripristino di un altro archivio messo da parte: %1")
                                          .arg(aside)));
            return true;
        }
        // A journal without the archive's identity was written by an earlier version: the archive never
        // shrinks below the length it recorded, and every saved record lies within it; a journal that
        // says otherwise belongs to no state of this archive and is dropped.
        if (size > 0 && static_cast<std::uint64_t>(size) <= kMaxJournalRecord && c.originalSize >= 0 &&
            c.originalSize <= now.st_size) {
            for (const auto& [offset, bytes] : c.old) {
                // A record appended and then rewritten in the same operation: the cut below removes it.
                if (offset > c.originalSize - size)
                    continue;
                ok = ok && pwriteAll(fd_, bytes, static_cast<std::size_t>(size), offset);
            }
            if (ok && now.st_size > c.originalSize)
                ok = storageSyscalls().ftruncate(fd_, static_cast<off_t>(c.originalSize)) == 0;
            ok = ok && storageSyscalls().fdatasync(fd_) == 0;
        }
    }
    // A header that is not whole was cut off before any record was touched: nothing to put back.
    if (!ok)
        return fail(QStringLiteral("impossibile ripristinare l'archivio dal giornale"), errno);
    // An empty journal is the end of a finished save whose removal failed: it puts nothing back, and
    // one that cannot be removed must not stop every later write.
    if (storageSyscalls().unlink(journalPath.constData()) != 0 && errno != ENOENT && !journal.empty())
        return fail(QStringLiteral("impossibile rimuovere il giornale di ripristino"), errno);
    syncFolderOf(journalPath);
    return true;
}

QString TRecordFile::JournalRightsProblem(const QString& folder) {
    const QByteArray probe =
        QFile::encodeName(QDir(folder).filePath(QStringLiteral(".ombrisa-prova-%1").arg(::getpid())));
    const int fd = storageSyscalls().open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    const int err = errno;
    if (fd >= 0 || err == EEXIST) {
        if (fd >= 0)
            ::close(fd);
        storageSyscalls().unlink(probe.constData());
        return {};
    }
    return QStringLiteral("Nella cartella dei dati %1 non è possibile creare file (%2): le modifiche alle schede "
                          "non potranno essere salvate. Servono i permessi di lettura, scrittura e creazione di "
                          "file nella cartella e di lettura e scrittura sugli archivi.")
        .arg(QDir::toNativeSeparators(folder), systemErrorText(err));
}

// Before the records one WriteRecords() call appends (`appends` of them, the first being `first`): the
// journal, flushed, with the archive's identity when it is new, where the appended records will end and
// the first of them, so that a crash while appending is cut back by the next open, and only on this
// file. A partial record at the end, which the appends write over, is kept here for an undo under the
// lock (a crash leaves the cut-back length and the start of the new record in those bytes, which were
// never a whole record).
bool TRecordFile::journalAppends(std::int64_t appends, const std::uint8_t* first) {
    const auto rs = static_cast<std::int64_t>(recordSize_);
    std::vector<std::uint8_t> data;
    const bool created = journalFd_ < 0;
    if (created) {
        if (partialTail_ > 0) {
            const std::int64_t start = count_ * rs;
            Journaled tail{start, std::vector<std::uint8_t>(static_cast<std::size_t>(partialTail_))};
            std::size_t got = 0;
            if (!preadAll(fd_, tail.bytes.data(), tail.bytes.size(), start, got) || got != tail.bytes.size())
                return fail(QStringLiteral("errore di lettura"), got == tail.bytes.size() ? errno : 0);
            journaled_.push_back(std::move(tail));
        }
        if (!startJournal(data))
            return false;
    }
    const std::int64_t offset = count_ * rs;
    addEntry(data, recordSize_, kTagExtent | static_cast<std::uint64_t>(offset + appends * rs), first, 0);
    addEntry(data, recordSize_, kTagNew | static_cast<std::uint64_t>(offset), first, recordSize_);
    if (!pwriteAll(journalFd_, data.data(), data.size(), journalEnd_) || storageSyscalls().fdatasync(journalFd_) != 0) {
        const int err = errno;
        rollBack();
        return fail(QStringLiteral("impossibile scrivere il giornale di ripristino"), err);
    }
    if (created)
        syncFolderOf(JournalPath(path_).toLocal8Bit());
    journalEnd_ += static_cast<std::int64_t>(data.size());
    return true;
}

// Creates this operation's journal (empty, at the start) and puts in `data` its beginning: the
// archive's identity and the records this operation appended so far, read back from the archive. On
// failure what the operation wrote is rolled back.
bool TRecordFile::startJournal(std::vector<std::uint8_t>& data) {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        const int err = errno;
        rollBack();
        return fail(QStringLiteral("impossibile leggere la lunghezza dell'archivio"), err);
    }
    journalFd_ = storageSyscalls().open(JournalPath(path_).toLocal8Bit().constData(),
                                        O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    if (journalFd_ < 0) {
        const int err = errno;
        rollBack();
        return fail(QStringLiteral("impossibile creare il giornale di ripristino"), err);
    }
    journalEnd_ = 0;
    data = journalStart(recordSize_, originalSize_, st);
    const auto rs = static_cast<std::int64_t>(recordSize_);
    std::vector<std::uint8_t> appended(recordSize_);
    for (std::int64_t index = originalSize_ / rs; index < count_; ++index) {
        std::size_t got = 0;
        if (!preadAll(fd_, appended.data(), recordSize_, index * rs, got) || got != recordSize_) {
            const int err = got == recordSize_ ? errno : 0;
            rollBack();
            return fail(QStringLiteral("errore di lettura"), err);
        }
        addEntry(data, recordSize_, kTagNew | static_cast<std::uint64_t>(index * rs), appended.data(), recordSize_);
    }
    return true;
}

// Appends `count` records lying one after the other in memory with one write.
bool TRecordFile::appendRun(const std::uint8_t* records, std::int64_t count) {
    const std::int64_t offset = count_ * static_cast<std::int64_t>(recordSize_);
    if (!pwriteAll(fd_, records, static_cast<std::size_t>(count) * recordSize_, offset)) {
        const int err = errno;
        rollBack();
        return fail(QStringLiteral("errore di scrittura"), err);
    }
    dirty_ = true;
    count_ += count;
    partialTail_ = 0;
    position_ = count_;
    return true;
}

// Saves in the journal, flushed, before the archive is touched: the old bytes of the record at `offset`
// when this write overwrites one (the first time only), and the bytes it writes there. A new journal
// starts with the archive's identity and the records this operation appended before it, so that a
// recovery recognises the file it belongs to.
bool TRecordFile::journalWrite(std::int64_t offset, const std::uint8_t* record, bool overwrites) {
    std::vector<std::uint8_t> data;
    bool saveOld = overwrites;
    for (const Journaled& j : journaled_)
        saveOld = saveOld && j.offset != offset; // the oldest bytes are already saved
    Journaled saved{offset, {}};
    std::size_t got = 0;
    if (saveOld) {
        saved.bytes.resize(recordSize_);
        if (!preadAll(fd_, saved.bytes.data(), recordSize_, offset, got) || got != recordSize_) {
            const int err = got == recordSize_ ? errno : 0;
            rollBack();
            return fail(QStringLiteral("errore di lettura"), err);
        }
    }
    const QByteArray journalPath = JournalPath(path_).toLocal8Bit();
    const bool first = journalFd_ < 0;
    if (first && !startJournal(data))
        return false;
    if (saveOld)
        addEntry(data, recordSize_, static_cast<std::uint64_t>(offset), saved.bytes.data(), recordSize_);
    addEntry(data, recordSize_, kTagNew | static_cast<std::uint64_t>(offset), record, recordSize_);
    if (!pwriteAll(journalFd_, data.data(), data.size(), journalEnd_) || storageSyscalls().fdatasync(journalFd_) != 0) {
        // Records this operation already wrote go back from the copies kept here; an entry cut off
        // in the journal fails its checksum and is never applied.
        const int err = errno;
        rollBack();
        return fail(QStringLiteral("impossibile scrivere il giornale di ripristino"), err);
    }
    if (first)
        syncFolderOf(journalPath);
    journalEnd_ += static_cast<std::int64_t>(data.size());
    if (saveOld)
        journaled_.push_back(std::move(saved));
    return true;
}

// Ends this operation's journal: emptied first, so that a journal that cannot be removed rolls nothing
// back, then removed.
bool TRecordFile::dropJournal() {
    if (journalFd_ < 0)
        return true;
    bool ok = storageSyscalls().ftruncate(journalFd_, 0) == 0;
    ::close(journalFd_);
    journalFd_ = -1;
    const QByteArray journalPath = JournalPath(path_).toLocal8Bit();
    ok = (::unlink(journalPath.constData()) == 0 || errno == ENOENT) || ok;
    // The removal reaches the disk before the save is reported done.
    syncFolderOf(journalPath);
    journaled_.clear();
    journalEnd_ = 0;
    return ok;
}

// Undoes this operation after a failed write or flush, under the lock still held: old records back,
// appended records cut off. When that fails too, the journal stays for the next open.
bool TRecordFile::rollBack() {
    bool ok = true;
    for (const Journaled& j : journaled_)
        ok = pwriteAll(fd_, j.bytes.data(), j.bytes.size(), j.offset) && ok;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || st.st_size != originalSize_)
        ok = storageSyscalls().ftruncate(fd_, static_cast<off_t>(originalSize_)) == 0 && ok;
    ok = ok && storageSyscalls().fdatasync(fd_) == 0;
    if (ok) {
        dropJournal();
    } else if (journalFd_ >= 0) {
        ::close(journalFd_);
        journalFd_ = -1;
    } else {
        noteAppended();
    }
    journaled_.clear();
    dirty_ = false;
    count_ = originalSize_ / static_cast<std::int64_t>(recordSize_);
    partialTail_ = originalSize_ % static_cast<std::int64_t>(recordSize_);
    position_ = std::min(position_, count_);
    bufferFirst_ = bufferCount_ = 0;
    return ok;
}

// Appended records that could not be cut off (the flush and the cut both failed) would be stored twice
// by a retry: a journal naming them, with nothing to put back, makes the next open cut them off. Best
// effort: when this fails too, the records stay, as before.
void TRecordFile::noteAppended() {
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || st.st_size <= originalSize_)
        return;
    const auto rs = static_cast<std::int64_t>(recordSize_);
    std::vector<std::uint8_t> data = journalStart(recordSize_, originalSize_, st);
    std::vector<std::uint8_t> record(recordSize_);
    for (std::int64_t at = originalSize_ / rs * rs; at < st.st_size; at += rs) {
        std::size_t got = 0;
        std::fill(record.begin(), record.end(), 0);
        if (!preadAll(fd_, record.data(), recordSize_, at, got))
            return;
        // A torn record as far as it goes.
        addEntry(data, recordSize_, kTagNew | static_cast<std::uint64_t>(at), record.data(), recordSize_);
    }
    const QByteArray journalPath = JournalPath(path_).toLocal8Bit();
    const int fd =
        storageSyscalls().open(journalPath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0)
        return;
    const bool written = pwriteAll(fd, data.data(), data.size(), 0) && storageSyscalls().fdatasync(fd) == 0;
    ::close(fd);
    if (written)
        syncFolderOf(journalPath);
    else
        storageSyscalls().unlink(journalPath.constData());
}

bool TRecordFile::Seek(std::int64_t index) {
    if (!open_)
        return fail(QStringLiteral("archivio non aperto"), 0);
    if (index < 0 || index > count_)
        return fail(QStringLiteral("posizione %1 fuori dall'archivio di %2 schede").arg(index).arg(count_), 0);
    position_ = index;
    return true;
}

bool TRecordFile::ReadRecord(void* buffer) {
    if (!open_)
        return fail(QStringLiteral("archivio non aperto"), 0);
    if (position_ >= count_)
        return fail(QStringLiteral("lettura oltre la fine dell'archivio"), 0);
    if (position_ < bufferFirst_ || position_ >= bufferFirst_ + bufferCount_) {
        const std::int64_t perChunk = std::max<std::int64_t>(1, kReadAheadBytes / recordSize_);
        const std::int64_t wanted = std::min(perChunk, count_ - position_);
        buffer_.resize(static_cast<std::size_t>(wanted) * recordSize_);
        std::size_t done = 0;
        if (!preadAll(fd_, buffer_.data(), buffer_.size(), position_ * static_cast<std::int64_t>(recordSize_), done))
            return fail(QStringLiteral("errore di lettura"), errno);
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
    if (!open_ || fd_ < 0)
        return fail(QStringLiteral("archivio non aperto"), 0);
    if (access_ != Access::Write)
        return fail(QStringLiteral("archivio aperto in sola lettura"), 0);
    const std::int64_t offset = position_ * static_cast<std::int64_t>(recordSize_);
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    // An append needs no journal (a failure cuts it off) until the operation has one.
    const bool overwrites = position_ < count_;
    if ((overwrites || journalFd_ >= 0) && !journalWrite(offset, bytes, overwrites))
        return false;
    if (!pwriteAll(fd_, bytes, recordSize_, offset)) {
        const int err = errno;
        rollBack();
        return fail(QStringLiteral("errore di scrittura"), err);
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

TRecordFile::UpdateResult TRecordFile::WriteRecordIfUnchanged(const void* loaded, const void* record) {
    if (!open_ || fd_ < 0) {
        fail(QStringLiteral("archivio non aperto"), 0);
        return UpdateResult::Failed;
    }
    if (access_ != Access::Write) {
        fail(QStringLiteral("archivio aperto in sola lettura"), 0);
        return UpdateResult::Failed;
    }
    if (position_ >= count_)
        return UpdateResult::ChangedMeanwhile; // the record is no longer there
    std::vector<std::uint8_t> now(recordSize_);
    std::size_t got = 0;
    if (!preadAll(fd_, now.data(), recordSize_, position_ * static_cast<std::int64_t>(recordSize_), got) ||
        got != recordSize_) {
        fail(QStringLiteral("errore di lettura"), got == recordSize_ ? errno : 0);
        return UpdateResult::Failed;
    }
    if (std::memcmp(now.data(), loaded, recordSize_) != 0)
        return UpdateResult::ChangedMeanwhile;
    return WriteRecord(record) ? UpdateResult::Written : UpdateResult::Failed;
}

TRecordFile::UpdateResult TRecordFile::WriteRecords(const std::vector<Change>& changes, std::size_t* changed) {
    if (!open_ || fd_ < 0) {
        fail(QStringLiteral("archivio non aperto"), 0);
        return UpdateResult::Failed;
    }
    if (access_ != Access::Write) {
        fail(QStringLiteral("archivio aperto in sola lettura"), 0);
        return UpdateResult::Failed;
    }
    std::vector<std::uint8_t> now(recordSize_);
    std::int64_t count = count_; // with the records appended by the changes before this one
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const Change& c = changes[i];
        if (c.record != nullptr && c.loaded != nullptr && c.index >= count_) {
            if (changed)
                *changed = i;
            return UpdateResult::ChangedMeanwhile; // the record is no longer there
        }
        if (c.record == nullptr || c.index < kAppend || c.index >= count) {
            fail(QStringLiteral("modifica %1 non valida (scheda %2 di %3)").arg(i).arg(c.index).arg(count), 0);
            return UpdateResult::Failed;
        }
        if (c.index == kAppend)
            ++count;
        if (c.index == kAppend || c.loaded == nullptr)
            continue;
        std::size_t got = 0;
        if (!preadAll(fd_, now.data(), recordSize_, c.index * static_cast<std::int64_t>(recordSize_), got) ||
            got != recordSize_) {
            fail(QStringLiteral("errore di lettura"), got == recordSize_ ? errno : 0);
            return UpdateResult::Failed;
        }
        if (std::memcmp(now.data(), c.loaded, recordSize_) != 0) {
            if (changed)
                *changed = i;
            return UpdateResult::ChangedMeanwhile;
        }
    }
    const auto firstAppend =
        std::find_if(changes.begin(), changes.end(), [](const Change& c) { return c.index == kAppend; });
    const auto appends = std::count_if(changes.begin(), changes.end(), [](const Change& c) { return c.index == kAppend; });
    if (firstAppend != changes.end() &&
        !journalAppends(appends, static_cast<const std::uint8_t*>(firstAppend->record))) {
        if (dirty_) {
            const QString error = error_;
            rollBack();
            error_ = error;
        }
        return UpdateResult::Failed;
    }
    for (std::size_t i = 0; i < changes.size();) {
        const Change& c = changes[i];
        if (c.index == kAppend) {
            // Appends of records that follow each other in memory go out in one write.
            const auto* first = static_cast<const std::uint8_t*>(c.record);
            std::size_t end = i + 1;
            while (end < changes.size() && changes[end].index == kAppend &&
                   reinterpret_cast<std::uintptr_t>(changes[end].record) ==
                       reinterpret_cast<std::uintptr_t>(first) + (end - i) * recordSize_ &&
                   (end - i) * recordSize_ < kAppendRunBytes)
                ++end;
            if (!appendRun(first, static_cast<std::int64_t>(end - i)))
                return UpdateResult::Failed; // appendRun undid the whole operation
            i = end;
            continue;
        }
        position_ = c.index;
        if (!WriteRecord(c.record)) {
            // WriteRecord undid the whole operation when its write or journal failed.
            if (dirty_) {
                const QString error = error_;
                rollBack();
                error_ = error;
            }
            return UpdateResult::Failed;
        }
        ++i;
    }
    position_ = count_;
    return UpdateResult::Written;
}

bool TRecordFile::Undo() {
    if (!open_ || fd_ < 0)
        return true;
    return rollBack() || fail(QStringLiteral("impossibile riportare l'archivio com'era"), errno);
}

bool TRecordFile::Close() {
    if (!open_)
        return true;
    bool ok = true;
    if (fd_ >= 0 && dirty_ && storageSyscalls().fdatasync(fd_) != 0) {
        const int err = errno;
        rollBack();
        ok = fail(QStringLiteral("impossibile salvare su disco"), err);
    }
    if (ok && !dropJournal())
        ok = fail(QStringLiteral("impossibile rimuovere il giornale di ripristino"), errno);
    if (fd_ >= 0 && ::close(fd_) != 0 && ok)
        ok = fail(QStringLiteral("errore di chiusura"), errno);
    fd_ = -1;
    open_ = false;
    dirty_ = false;
    buffer_.clear();
    buffer_.shrink_to_fit();
    bufferFirst_ = bufferCount_ = 0;
    return ok;
}

} // namespace ombrisa
