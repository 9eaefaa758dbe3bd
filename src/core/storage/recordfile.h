#pragma once

#include <QString>
#include <QStringList>
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
//
// Writes cannot be half done. Before a record is overwritten in place, its old bytes are saved and
// flushed in a rollback journal beside the archive (JournalPath()); Close() flushes the archive and then
// removes the journal. When a write or the flush fails, the operation is undone under the same lock:
// overwritten records get their old bytes back and appended ones are cut off, so the archive is exactly
// as before and a retry adds one card, not two. A journal left behind by a process that died is rolled
// back by the next open. Programs that know nothing of the journal read the archive as before.
class TRecordFile {
public:
    enum class Access { Read, Write };

    TRecordFile() = default;
    ~TRecordFile();
    TRecordFile(const TRecordFile&) = delete;
    TRecordFile& operator=(const TRecordFile&) = delete;

    // Opens the file at position 0, creating it empty when missing. Access::Read needs only read
    // permission (a read-only share, a backup copy); a missing file that cannot be created there reads
    // as an empty archive. Access::Write needs read and write permission. An existing file is never
    // replaced. A full path of 260 characters or more, a broken symbolic link, a loop of links and a
    // folder or device in place of the file are failures, each with its own ErrorHint().
    bool OpenOrCreate(const QString& path, std::size_t recordSize, Access access = Access::Write);
    bool IsOpen() const { return open_; }

    std::int64_t Count() const { return count_; }
    bool Seek(std::int64_t index);
    std::int64_t Position() const { return position_; }
    bool AtEnd() const { return position_ >= count_; }
    bool ReadRecord(void* buffer);
    bool WriteRecord(const void* buffer);
    bool Close();

    // Lost-update check for a record the caller loaded earlier in another operation: under this
    // operation's exclusive lock, compares `loaded` (the bytes read then) with the record now at the
    // current position and writes `record` there only when they are equal. ChangedMeanwhile (nothing
    // written, position unchanged) when another workstation changed or removed the record since.
    enum class UpdateResult { Written, ChangedMeanwhile, Failed };
    UpdateResult WriteRecordIfUnchanged(const void* loaded, const void* record);

    // Several records as one all-or-nothing operation (an import, a restore, a privacy erasure). Each
    // change rewrites the record at `index` in place, or appends one at the end when `index` is kAppend;
    // with `loaded` set, the record is rewritten only when it still holds those bytes (the lost-update
    // check above). Every check is made first, under this operation's exclusive lock: ChangedMeanwhile
    // writes nothing and names the first change that failed its check in `*changed`. Then every record
    // is written; a failure at any step puts back every record this operation wrote since
    // OpenOrCreate() (old bytes from the journal, appended records cut off) and returns Failed. As for
    // one record, the operation succeeded only when Close() then returns true; a crash at any point
    // leaves the archive as before or as after once the next open has read the journal.
    // The position afterwards is the end of the archive.
    static constexpr std::int64_t kAppend = -1;
    struct Change {
        std::int64_t index = kAppend;
        const void* loaded = nullptr; // the bytes read earlier, or nullptr for no check
        const void* record = nullptr; // recordSize bytes to write
    };
    UpdateResult WriteRecords(const std::vector<Change>& changes, std::size_t* changed = nullptr);
    // Takes back every record this operation wrote since OpenOrCreate() (a cancelled import): the
    // archive is as it was, under the lock still held. When that fails the journal stays for the next
    // open and the result is false.
    bool Undo();

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
    // One Italian sentence on a cause an administrator can act on (a broken link, a loop of links, a folder
    // in place of the archive, a busy archive); empty otherwise. The card screens keep their one archive
    // message; ErrorString() carries the same cause with the path for logs and ombrisa-tool.
    const QString& ErrorHint() const { return hint_; }
    // The folder's file system refused record locks: the file is open without coordination (the
    // program warns once per run through the handler of filelock.h).
    bool LocksRefused() const { return locksRefused_; }
    // A journal left by a process that died could not be rolled back (no write permission): records
    // may be half written until a workstation that may write opens the archive.
    bool JournalPending() const { return journalPending_; }

    static QString JournalPath(const QString& archivePath);
    // Every in-place save creates its journal beside the archive, so the data folder must let this user
    // create and remove files (a folder with the right to write its files but not to add new ones refuses
    // every save that rewrites a card). Empty when it does; otherwise the Italian message to show.
    static QString JournalRightsProblem(const QString& folder);
    // For a tool or screen that replaces an archive file whole (a restore, a regeneration): moves a
    // journal left beside `archivePath` out of the way, renamed to `<archive>.journal.scartato-<time>`,
    // so that it is never applied to the new file; the rename is flushed in the folder. True when there
    // was none. `*setAside` receives the new name. Call it before the new archive takes the old one's
    // place, with no operation on that archive running.
    static bool SetAsideJournal(const QString& archivePath, QString* setAside = nullptr, QString* error = nullptr);
    // Journals set aside beside `archivePath` (their full paths), for verify to report.
    static QStringList SetAsideJournals(const QString& archivePath);
    // Something is at `path`: a file, a folder, a symbolic link even when broken. A missing archive is an
    // empty one; anything present is opened and its problems reported.
    static bool Present(const QString& path);

    // How long OpenOrCreate waits for another workstation's lock before it gives up.
    static void SetLockTimeoutMs(int milliseconds);
    static int LockTimeoutMs();

private:
    struct Journaled {
        std::int64_t offset;
        std::vector<std::uint8_t> bytes;
    };

    bool openFile(bool mayRecover);
    bool failOpen(int err);
    bool fail(const QString& what, int err);
    bool failSize();
    void closeFd();
    bool journalWrite(std::int64_t offset, const std::uint8_t* record, bool overwrites);
    bool journalAppends(std::int64_t appends, const std::uint8_t* first);
    bool startJournal(std::vector<std::uint8_t>& data);
    bool appendRun(const std::uint8_t* records, std::int64_t count);
    bool recoverJournal();
    bool rollBack();
    void noteAppended();
    bool dropJournal();

    QString path_;
    QString error_;
    QString hint_;
    int fd_ = -1;
    bool open_ = false;
    bool locksRefused_ = false;
    bool journalPending_ = false;
    int journalFd_ = -1;
    std::int64_t journalEnd_ = 0;
    std::int64_t originalSize_ = 0; // the file's length when opened: where a failed operation cuts back to
    std::vector<Journaled> journaled_;
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
