#include "core/import/appendall.h"

#include "core/records/carddates.h"
#include "core/storage/recordfile.h"

#include <QHashFunctions>
#include <algorithm>
#include <cstring>
#include <vector>

namespace ombrisa {

namespace {

// Records appended with one call between two looks at the progress (and its cancel): at least a few
// megabytes, and at most a handful of calls, since each one flushes the journal before it writes.
constexpr std::size_t kStepBytes = 4 << 20;
constexpr std::size_t kMostSteps = 8;

} // namespace

void addToFingerprint(ArchiveFingerprint& fingerprint, const void* record, std::size_t recordSize) {
    ++fingerprint.count;
    fingerprint.hash = qHashBits(record, recordSize, static_cast<std::size_t>(fingerprint.hash ^ 0x9E3779B97F4A7C15ull));
}

AppendOutcome appendAllOrNothing(const QString& path, std::size_t recordSize, std::span<const std::uint8_t> records,
                                 const ArchiveFingerprint* expected, const AppendProgress& progress,
                                 std::int64_t* firstNumber, QString* error) {
    if (recordSize == 0 || records.size() % recordSize != 0) {
        if (error)
            *error = QStringLiteral("schede di lunghezza errata");
        return AppendOutcome::Failed;
    }
    const auto count = static_cast<std::int64_t>(records.size() / recordSize);
    return appendAllOrNothing(
        path, recordSize, count,
        [&](std::int64_t index, std::uint8_t* out) {
            std::memcpy(out, records.data() + static_cast<std::size_t>(index) * recordSize, recordSize);
        },
        expected, progress, firstNumber, error);
}

AppendOutcome appendAllOrNothing(const QString& path, std::size_t recordSize, std::int64_t count,
                                 const AppendSource& source, const ArchiveFingerprint* expected,
                                 const AppendProgress& progress, std::int64_t* firstNumber, QString* error) {
    auto failWith = [&](const QString& text) {
        if (error)
            *error = text;
        return AppendOutcome::Failed;
    };
    if (recordSize == 0 || count < 0)
        return failWith(QStringLiteral("schede di lunghezza errata"));

    // One operation of the archive's own: its exclusive lock, and its journal, which the next open reads
    // after a crash so that the archive is as before or holds every record.
    TRecordFile file;
    if (!file.OpenOrCreate(path, recordSize, TRecordFile::Access::Write))
        return failWith(file.ErrorString());
    // Undoes everything written so far: the archive gets back its length and its bytes.
    auto undo = [&](AppendOutcome outcome, const QString& why) {
        const bool undone = file.Undo();
        if (error)
            *error = undone ? why
                            : why + QStringLiteral("; l'archivio non è stato riportato com'era: ") + file.ErrorString();
        return outcome;
    };

    if (expected) {
        ArchiveFingerprint now;
        std::vector<std::uint8_t> record(recordSize);
        while (!file.AtEnd()) {
            if (!file.ReadRecord(record.data()))
                return failWith(file.ErrorString());
            addToFingerprint(now, record.data(), recordSize);
        }
        if (!(now == *expected))
            return AppendOutcome::Changed;
    }

    const std::int64_t total = count;
    if (firstNumber)
        *firstNumber = file.Count() + 1;
    // The new cards' dates first (see carddates.h): a cancel or a failure after this leaves dates of cards
    // that do not exist yet, which the cards appended there later stamp again.
    if (QString why; !stampCardDates(path, file.Count() + 1, total, true, QDate::currentDate(), &why))
        return failWith(why);
    const auto perStep = std::min(
        std::max({std::size_t{1}, kStepBytes / recordSize,
                  static_cast<std::size_t>((total + kMostSteps - 1) / static_cast<std::int64_t>(kMostSteps))}),
        static_cast<std::size_t>(std::max<std::int64_t>(total, 1)));
    // One step's records, made here and written from here: the same memory for every step.
    std::vector<std::uint8_t> step(perStep * recordSize);
    std::vector<TRecordFile::Change> changes;
    for (std::int64_t done = 0; done < total;) {
        if (progress && !progress(done, total))
            return undo(AppendOutcome::Cancelled, QStringLiteral("importazione annullata"));
        const auto n = std::min<std::int64_t>(static_cast<std::int64_t>(perStep), total - done);
        changes.assign(static_cast<std::size_t>(n), {});
        for (std::int64_t i = 0; i < n; ++i) {
            std::uint8_t* const out = step.data() + static_cast<std::size_t>(i) * recordSize;
            source(done + i, out);
            changes[static_cast<std::size_t>(i)].record = out;
        }
        if (file.WriteRecords(changes) != TRecordFile::UpdateResult::Written)
            return failWith(file.ErrorString()); // the operation was undone
        done += n;
    }
    if (progress && !progress(total, total))
        return undo(AppendOutcome::Cancelled, QStringLiteral("importazione annullata"));
    if (!file.Close())
        return failWith(file.ErrorString()); // a failed flush undoes the operation
    return AppendOutcome::Appended;
}

} // namespace ombrisa
