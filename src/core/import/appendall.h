#pragma once

// Appending many records to an archive as one operation: all of them or none.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace ombrisa {

// What an archive held when it was read: its whole records and a hash of their bytes, so that a later
// operation can tell whether another workstation changed it meanwhile.
struct ArchiveFingerprint {
    std::int64_t count = 0;
    std::uint64_t hash = 0;
    bool operator==(const ArchiveFingerprint&) const = default;
};

// Adds one record to a fingerprint (records in file order, starting from a default fingerprint).
void addToFingerprint(ArchiveFingerprint& fingerprint, const void* record, std::size_t recordSize);

enum class AppendOutcome {
    Appended,  // every record is in the archive and on the disk
    Changed,   // the archive is not the one `expected` describes: nothing written
    Cancelled, // `progress` said stop: nothing written
    Failed,    // a read, write or flush failed: nothing written (or, if even the undo failed, `error` says so)
};

// Written records so far and the total; false stops the operation.
using AppendProgress = std::function<bool(std::int64_t written, std::int64_t total)>;

// Appends `records` (a whole number of records of `recordSize`) to the archive at `path` as one operation
// of the archive (its exclusive lock, its journal). When `expected` is given, the archive's fingerprint is
// compared first, under the same lock. A failure or a cancel cuts the archive back to the length it had,
// so that it is exactly as it was; a crash leaves a journal with which the next open does the same, so
// the archive holds every record or none. `firstNumber` receives the card number (from 1) of the first
// appended record.
AppendOutcome appendAllOrNothing(const QString& path, std::size_t recordSize, std::span<const std::uint8_t> records,
                                 const ArchiveFingerprint* expected, const AppendProgress& progress,
                                 std::int64_t* firstNumber, QString* error);
// Writes record `index` (from 0) of the ones to append into `out` (recordSize bytes).
using AppendSource = std::function<void(std::int64_t index, std::uint8_t* out)>;

// The same for `count` records made on the way by `source`, a step at a time into one buffer, so that
// the records never need to lie in memory all at once.
AppendOutcome appendAllOrNothing(const QString& path, std::size_t recordSize, std::int64_t count,
                                 const AppendSource& source, const ArchiveFingerprint* expected,
                                 const AppendProgress& progress, std::int64_t* firstNumber, QString* error);

} // namespace ombrisa
