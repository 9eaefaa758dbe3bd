#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace ombrisa {

// The message every screen shows when an archive operation fails.
inline const QString kArchiveMessage =
    QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                   "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");

// One archive file of fixed-size records without header, and a current position (the index of the next
// record to read or write, from 0). Open it for one operation only and close it at the end.
//
// While open, the file holds an advisory lock: shared for Access::Read, exclusive for Access::Write.
// Workstations that share the folder therefore never interleave an append with another, and an
// append's Count() is taken under the exclusive lock. A file whose length is not a multiple of the
// record size holds a partial record at its end (a write cut off by a crash): it is not counted, and
// the next append writes over it at the record boundary.
//
// Every function returns false on failure and leaves the reason in ErrorString(); the caller stops
// the operation and shows kArchiveMessage. Written records reach the disk in Close(): an operation that
// wrote succeeded only when Close() returned true.
class TRecordFile {
public:
    enum class Access { Read, Write };

    TRecordFile() = default;
    ~TRecordFile();
    TRecordFile(const TRecordFile&) = delete;
    TRecordFile& operator=(const TRecordFile&) = delete;

    // Opens the file for reading and writing at position 0, creating it empty when missing. A file that
    // exists but cannot be opened for reading and writing is a failure even for Access::Read, and is
    // never replaced. A full path of 260 characters or more is a failure.
    bool OpenOrCreate(const QString& path, std::size_t recordSize, Access access = Access::Write);
    bool IsOpen() const { return fd_ >= 0; }

    std::int64_t Count() const { return count_; }
    bool Seek(std::int64_t index);
    std::int64_t Position() const { return position_; }
    bool AtEnd() const { return position_ >= count_; }
    bool ReadRecord(void* buffer);
    bool WriteRecord(const void* buffer);
    bool Close();

    // A whole record by reference, checked against the file's record size. Pointers take the void*
    // overloads above: they name the record they point to, never a record of their own.
    template <class Record>
    requires(!std::is_pointer_v<Record> && std::is_trivially_copyable_v<Record>) bool ReadRecord(Record& record) {
        return sizeof(Record) == recordSize_ ? ReadRecord(static_cast<void*>(&record)) : failSize();
    }
    template <class Record>
    requires(!std::is_pointer_v<Record> &&
             std::is_trivially_copyable_v<Record>) bool WriteRecord(const Record& record) {
        return sizeof(Record) == recordSize_ ? WriteRecord(static_cast<const void*>(&record)) : failSize();
    }

    // Bytes after the last whole record (0 for a sound file).
    std::int64_t PartialTailBytes() const { return partialTail_; }
    const QString& Path() const { return path_; }
    const QString& ErrorString() const { return error_; }

    // How long OpenOrCreate waits for another workstation's lock before it gives up.
    static void SetLockTimeoutMs(int milliseconds);

private:
    bool fail(const QString& what, int err);
    bool failSize();
    bool lock(Access access);

    QString path_;
    QString error_;
    int fd_ = -1;
    std::size_t recordSize_ = 0;
    std::int64_t count_ = 0;
    std::int64_t position_ = 0;
    std::int64_t partialTail_ = 0;
    Access access_ = Access::Write;
    bool dirty_ = false;
    // Read-ahead for scans: records [bufferFirst_, bufferFirst_ + bufferCount_) of the file.
    std::vector<std::uint8_t> buffer_;
    std::int64_t bufferFirst_ = 0;
    std::int64_t bufferCount_ = 0;
};

} // namespace ombrisa
