#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>

namespace ombrisa {

// What a whole-archive read came to.
struct ArchiveScan {
    bool ok = true;          // every record was read (or the visitor stopped the read)
    bool stopped = false;    // the visitor returned false
    std::int64_t count = 0;  // records in the archive when it was opened
    QString error;           // the archive's own error text when !ok
};

// The one way the program reads a whole archive: under the shared lock, in file order, one record at a
// time, each handed to `visit` with its card number (from 1). An archive that does not exist is empty
// and is not created. `begin(count)` is called once the archive is open, before the first record (to
// reserve room or report progress). A visitor that returns false stops the read there; the result is
// still ok. A record that cannot be read, a lock not granted in time or an archive that cannot be opened
// ends the read with the archive's error text.
using RecordVisitor = std::function<bool(const void* record, std::int64_t card)>;
using ReadBegin = std::function<void(std::int64_t count)>;
ArchiveScan readArchive(const QString& path, std::size_t recordSize, const RecordVisitor& visit,
                        const ReadBegin& begin = {});

// The same with the record's type: visit(const Record&, std::int64_t card) returning void or bool.
template <class Record, class Visit>
ArchiveScan forEachRecord(const QString& path, Visit&& visit, const ReadBegin& begin = {}) {
    static_assert(std::is_trivially_copyable_v<Record>);
    return readArchive(
        path, sizeof(Record),
        [&visit](const void* bytes, std::int64_t card) {
            const Record& record = *static_cast<const Record*>(bytes);
            if constexpr (std::is_same_v<std::invoke_result_t<Visit&, const Record&, std::int64_t>, bool>)
                return visit(record, card);
            else {
                visit(record, card);
                return true;
            }
        },
        begin);
}

// The number of records in the archive at `path` (0 when it does not exist); nothing when it cannot be
// opened, with the reason in `*error` when given.
std::optional<std::int64_t> countRecords(const QString& path, std::size_t recordSize, QString* error = nullptr);

// Creates an empty archive at `path` when nothing is there (a screen that opens a register the user has
// not written to yet). False, with the reason in `*error` when given, when it cannot be created or opened.
bool ensureArchive(const QString& path, std::size_t recordSize, QString* error = nullptr);

// Reads the record of card `card` (from 1) into `record` under the shared lock. False, with the reason in
// `*error` when given ("la scheda N non è in archivio" for a number outside the archive), when it cannot.
bool readRecordAt(const QString& path, std::size_t recordSize, std::int64_t card, void* record,
                  QString* error = nullptr);

} // namespace ombrisa
