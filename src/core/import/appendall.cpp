#include "core/import/appendall.h"

#include "core/storage/recordfile.h"

#include <QHashFunctions>
#include <algorithm>
#include <vector>

namespace ombrisa {

namespace {

// Records appended with one call between two looks at the progress (and its cancel).
constexpr std::size_t kStepBytes = 4 << 20;

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

    const auto total = static_cast<std::int64_t>(records.size() / recordSize);
    if (firstNumber)
        *firstNumber = file.Count() + 1;
    const std::size_t perStep = std::max<std::size_t>(1, kStepBytes / recordSize);
    std::vector<TRecordFile::Change> changes;
    for (std::int64_t done = 0; done < total;) {
        if (progress && !progress(done, total))
            return undo(AppendOutcome::Cancelled, QStringLiteral("importazione annullata"));
        const auto n = std::min<std::int64_t>(static_cast<std::int64_t>(perStep), total - done);
        changes.assign(static_cast<std::size_t>(n), {});
        for (std::int64_t i = 0; i < n; ++i)
            changes[static_cast<std::size_t>(i)].record =
                records.data() + static_cast<std::size_t>(done + i) * recordSize;
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
