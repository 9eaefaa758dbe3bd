#include "core/storage/presence.h"

#include "core/storage/syscalls.h"
#include "core/storage/syserror.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QtEndian>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace ombrisa {
namespace {

// The file: kSlots slots of kSlotBytes; a slot in use holds, little-endian: magic, heartbeat count,
// heartbeat time and start time (milliseconds since 1970, UTC), process, host (96 bytes) and user (64
// bytes) in UTF-8, and a checksum of all of it. Anything else is a free slot.
constexpr int kSlots = 32;
constexpr int kSlotBytes = 256;
constexpr char kMagic[8] = {'O', 'M', 'B', 'P', 'O', 'S', 'T', '1'};
constexpr int kHostAt = 40;
constexpr int kHostBytes = 96;
constexpr int kUserAt = kHostAt + kHostBytes;
constexpr int kUserBytes = 64;
constexpr int kChecksumAt = kUserAt + kUserBytes;

std::uint64_t checksum(const std::uint8_t* data, std::size_t size) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 0x100000001b3ull; // FNV-1a
    return hash;
}

QString fixedText(const std::uint8_t* at, int size) {
    const auto* chars = reinterpret_cast<const char*>(at);
    return QString::fromUtf8(chars, static_cast<qsizetype>(::strnlen(chars, static_cast<std::size_t>(size))));
}

void putText(std::uint8_t* at, int size, const QString& text) {
    QString kept = text;
    QByteArray utf8 = kept.toUtf8();
    while (utf8.size() >= size) { // whole characters only, and a zero after them
        kept.chop(1);
        utf8 = kept.toUtf8();
    }
    std::memcpy(at, utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

bool parseSlot(const std::uint8_t* s, int slot, Workstation& w) {
    if (std::memcmp(s, kMagic, 8) != 0 || qFromLittleEndian<std::uint64_t>(s + kChecksumAt) != checksum(s, kChecksumAt))
        return false;
    w.slot = slot;
    w.beats = qFromLittleEndian<std::uint64_t>(s + 8);
    w.lastBeat = QDateTime::fromMSecsSinceEpoch(qFromLittleEndian<qint64>(s + 16), Qt::UTC);
    w.started = QDateTime::fromMSecsSinceEpoch(qFromLittleEndian<qint64>(s + 24), Qt::UTC);
    w.process = qFromLittleEndian<qint64>(s + 32);
    w.host = fixedText(s + kHostAt, kHostBytes);
    w.user = fixedText(s + kUserAt, kUserBytes);
    return true;
}

// Whether the slot `s` names the program that started at `startedMs` as `process` of `host`. The fields
// are compared as stored, so that a host name cut to its field's length still matches.
bool namesProgram(const std::uint8_t* s, qint64 startedMs, qint64 process, const QString& host) {
    std::uint8_t hostField[kHostBytes] = {};
    putText(hostField, kHostBytes, host);
    return qFromLittleEndian<qint64>(s + 24) == startedMs && qFromLittleEndian<qint64>(s + 32) == process &&
           std::memcmp(s + kHostAt, hostField, kHostBytes) == 0;
}

bool recent(const Workstation& w) {
    const qint64 age = w.lastBeat.secsTo(QDateTime::currentDateTimeUtc());
    return age > -Presence::kStaleSeconds && age < Presence::kStaleSeconds; // clocks may differ a little
}

struct flock slotLock(int slot, short type) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(slot) * kSlotBytes;
    fl.l_len = kSlotBytes;
    return fl;
}

// Takes the slot's lock without waiting: 0, or -1 with errno. `ofd` tells whether the lock belongs to
// the open file (and not to the process, whose locks on the file any close() would let go).
int lockSlot(int fd, int slot, bool& ofd) {
    struct flock fl = slotLock(slot, F_WRLCK);
    ofd = false;
#ifdef F_OFD_SETLK
    if (storageSyscalls().fcntlLock(fd, F_OFD_SETLK, &fl) == 0) {
        ofd = true;
        return 0;
    }
    if (errno != EINVAL)
        return -1;
    fl = slotLock(slot, F_WRLCK);
#endif
    return storageSyscalls().fcntlLock(fd, F_SETLK, &fl);
}

// Lets go of the slot's lock taken by lockSlot().
void unlockSlot(int fd, int slot, bool ofd) {
    struct flock fl = slotLock(slot, F_UNLCK);
#ifdef F_OFD_SETLK
    if (ofd) {
        storageSyscalls().fcntlLock(fd, F_OFD_SETLK, &fl);
        return;
    }
#else
    (void)ofd;
#endif
    storageSyscalls().fcntlLock(fd, F_SETLK, &fl);
}

// Whether another open of the file holds a lock on the slot, as seen from `fd`.
bool lockVisible(int fd, int slot) {
    struct flock fl = slotLock(slot, F_WRLCK);
#ifdef F_OFD_GETLK
    if (storageSyscalls().fcntlLock(fd, F_OFD_GETLK, &fl) == 0)
        return fl.l_type != F_UNLCK;
    fl = slotLock(slot, F_WRLCK);
#endif
    return storageSyscalls().fcntlLock(fd, F_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
}

std::vector<std::uint8_t> readAll(int fd) {
    std::vector<std::uint8_t> all(static_cast<std::size_t>(kSlots) * kSlotBytes, 0);
    std::size_t done = 0;
    while (done < all.size()) {
        const ssize_t n = ::pread(fd, all.data() + done, all.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return all;
}

bool thisProcess(const Workstation& w) {
    return w.process == ::getpid() && w.host == QSysInfo::machineHostName();
}

// A slot of this host whose process no longer exists: its program ended (killed, or crashed) without
// emptying it. Its slot is free, and it is no workstation whose locks go unseen.
bool endedOnThisHost(const Workstation& w) {
    return w.host == QSysInfo::machineHostName() && w.process > 0 && ::kill(static_cast<pid_t>(w.process), 0) != 0 &&
           errno == ESRCH;
}

std::vector<Workstation> recentIn(int fd, int own) {
    const std::vector<std::uint8_t> all = readAll(fd);
    std::vector<Workstation> found;
    for (int slot = 0; slot < kSlots; ++slot) {
        Workstation w;
        if (slot == own || !parseSlot(all.data() + static_cast<std::size_t>(slot) * kSlotBytes, slot, w) || !recent(w))
            continue;
        w.lockSeen = lockVisible(fd, slot);
        if (!w.lockSeen && endedOnThisHost(w))
            continue;
        w.own = thisProcess(w);
        found.push_back(w);
    }
    return found;
}

} // namespace

QString Presence::key(const Workstation& w) {
    return QStringLiteral("%1|%2|%3").arg(w.host).arg(w.process).arg(w.slot);
}

Presence::Presence(const QString& folder, const Workstation& as)
    : path_(QDir(folder).filePath(kPresenceFile)), as_(as) {}

Workstation Presence::ThisProcess() {
    Workstation w;
    w.host = QSysInfo::machineHostName();
    w.user = qEnvironmentVariable("USER");
    if (w.user.isEmpty())
        w.user = qEnvironmentVariable("LOGNAME");
    w.process = ::getpid();
    w.own = true;
    return w;
}

Presence::~Presence() {
    if (fd_ < 0)
        return;
    if (slot_ >= 0) {
        const std::vector<std::uint8_t> empty(kSlotBytes, 0);
        storageSyscalls().pwrite(fd_, empty.data(), empty.size(), static_cast<off_t>(slot_) * kSlotBytes);
    }
    ::close(fd_); // lets the lock go
}

bool Presence::Register() {
    if (fd_ < 0) {
        fd_ = storageSyscalls().open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY,
                                     0666);
        if (fd_ < 0) {
            error_ = QStringLiteral("impossibile aprire %1 (%2)").arg(path_, systemErrorText(errno));
            return false;
        }
    }
    if (!takeFreeSlot(readFresh()))
        return false;
    started_ = QDateTime::currentDateTimeUtc();
    if (!writeSlot())
        return false;
    for (const Workstation& w : look())
        seen_[key(w)] = w.beats;
    return true;
}

bool Presence::takeFreeSlot(const std::vector<std::uint8_t>& all) {
    for (int slot = 0; slot < kSlots; ++slot) {
        Workstation w;
        if (parseSlot(all.data() + static_cast<std::size_t>(slot) * kSlotBytes, slot, w) && recent(w) &&
            !endedOnThisHost(w))
            continue; // in use, or its program (on another workstation) ended moments ago
        if (lockSlot(fd_, slot, ofdLock_) != 0 && (errno == EAGAIN || errno == EACCES))
            continue; // in use by a program that has not written its slot yet
        // Taken; a file system that refuses locks is warned about by the archives' own locks.
        slot_ = slot;
        return true;
    }
    slot_ = -1;
    error_ = QStringLiteral("nessun posto libero in %1").arg(path_);
    return false;
}

// Where locks do not reach between workstations, two programs that start at the same instant both find
// the same slot free and both take it: the last to write it is the one the slot names. The other one,
// finding another program's start in its slot, leaves it to that program and takes a free one, so
// that each is seen, and warned about, by the other.
bool Presence::leaveSlotTakenByAnother() {
    const std::vector<std::uint8_t> all = readFresh();
    const std::uint8_t* s = all.data() + static_cast<std::size_t>(slot_) * kSlotBytes;
    Workstation inSlot;
    if (!parseSlot(s, slot_, inSlot) || namesProgram(s, started_.toMSecsSinceEpoch(), as_.process, as_.host))
        return true; // ours, or emptied (by the other program's end): ours to write
    unlockSlot(fd_, slot_, ofdLock_);
    return takeFreeSlot(all); // the slot just left is in use: never taken again
}

bool Presence::writeSlot() {
    std::vector<std::uint8_t> s(kSlotBytes, 0);
    std::memcpy(s.data(), kMagic, 8);
    qToLittleEndian<std::uint64_t>(++beats_, s.data() + 8);
    qToLittleEndian<qint64>(QDateTime::currentMSecsSinceEpoch(), s.data() + 16);
    qToLittleEndian<qint64>(started_.toMSecsSinceEpoch(), s.data() + 24);
    qToLittleEndian<qint64>(as_.process, s.data() + 32);
    putText(s.data() + kHostAt, kHostBytes, as_.host);
    putText(s.data() + kUserAt, kUserBytes, as_.user);
    qToLittleEndian<std::uint64_t>(checksum(s.data(), kChecksumAt), s.data() + kChecksumAt);
    if (storageSyscalls().pwrite(fd_, s.data(), s.size(), static_cast<off_t>(slot_) * kSlotBytes) !=
        static_cast<ssize_t>(s.size())) {
        error_ = QStringLiteral("impossibile scrivere in %1 (%2)").arg(path_, systemErrorText(errno));
        return false;
    }
    return true;
}

QString Presence::Beat() {
    if (fd_ < 0 || slot_ < 0)
        return {};
    if (!leaveSlotTakenByAnother())
        return {}; // no slot left: this program is not seen, and the other one's slot stays its own
    writeSlot();
    QStringList warnings;
    for (const Workstation& w : look()) {
        const QString k = key(w);
        const auto before = seen_.find(k);
        const bool movedOn = before != seen_.end() && before->second != w.beats;
        seen_[k] = w.beats;
        if (movedOn && !w.lockSeen && warned_.insert(k).second)
            warnings << LocksDoNotReachWarning(w);
    }
    return warnings.join(QStringLiteral("\n\n"));
}

// A network file system's client may keep the file's pages from an earlier read while the file stays
// open: another workstation's heartbeats would never be seen. A fresh open makes it read them again.
// Only where the slot's lock belongs to fd_ alone: closing another open of the file would let go of a
// lock that belongs to the process.
int Presence::freshFd() const {
    if (!ofdLock_)
        return -1;
    return ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
}

std::vector<std::uint8_t> Presence::readFresh() const {
    const int fd = freshFd();
    std::vector<std::uint8_t> all = readAll(fd >= 0 ? fd : fd_);
    if (fd >= 0)
        ::close(fd);
    return all;
}

std::vector<Workstation> Presence::look() const {
    const int fd = freshFd();
    std::vector<Workstation> found = recentIn(fd >= 0 ? fd : fd_, slot_);
    if (fd >= 0)
        ::close(fd);
    return found;
}

std::vector<Workstation> Presence::Read(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(QDir(folder).filePath(kPresenceFile)).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {};
    std::vector<Workstation> found = recentIn(fd, -1);
    ::close(fd);
    return found;
}

std::vector<Workstation> Presence::Others(const QString& folder) {
    std::vector<Workstation> others;
    for (const Workstation& w : Read(folder))
        if (!w.own)
            others.push_back(w);
    return others;
}

QString Presence::Describe(const Workstation& w) {
    QStringList about;
    if (!w.user.isEmpty())
        about << QStringLiteral("utente %1").arg(w.user);
    about << QStringLiteral("dal %1").arg(w.started.toLocalTime().toString(QStringLiteral("dd/MM/yyyy hh:mm")));
    return QStringLiteral("«%1» (%2)").arg(w.host, about.join(QStringLiteral(", ")));
}

QString Presence::InUseByOthers(const QString& what, const std::vector<Workstation>& others) {
    QStringList names;
    for (const Workstation& w : others)
        names << Describe(w);
    return QStringLiteral("%1: la cartella dei dati è in uso %2 %3. Chiudere il programma %4 e riprovare.")
        .arg(what, others.size() == 1 ? QStringLiteral("anche dalla postazione") : QStringLiteral("anche dalle postazioni"),
             names.join(QStringLiteral(", ")),
             others.size() == 1 ? QStringLiteral("su quella postazione") : QStringLiteral("su quelle postazioni"));
}

QString Presence::LocksDoNotReachWarning(const Workstation& other) {
    return QStringLiteral("Attenzione: anche la postazione «%1»%2 sta usando la cartella dei dati, ma i blocchi degli "
                          "archivi presi da quella postazione non si vedono da questa, e viceversa (la cartella è "
                          "probabilmente montata senza blocchi condivisi).\n\nSalvare da più postazioni "
                          "contemporaneamente non è sicuro (schede perse o mescolate): finché il problema non è "
                          "risolto, usare il programma da una sola postazione.")
        .arg(other.host, other.user.isEmpty() ? QString() : QStringLiteral(" (utente %1)").arg(other.user));
}

} // namespace ombrisa
