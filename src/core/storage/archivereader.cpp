#include "core/storage/archivereader.h"

#include "core/storage/recordfile.h"

#include <memory>

namespace ombrisa {

ArchiveScan readArchive(const QString& path, std::size_t recordSize, const RecordVisitor& visit,
                        const ReadBegin& begin) {
    ArchiveScan scan;
    if (!TRecordFile::Present(path)) {
        if (begin)
            begin(0);
        return scan;
    }
    TRecordFile file;
    const auto failed = [&] {
        scan.ok = false;
        scan.error = file.ErrorString();
        return scan;
    };
    if (!file.OpenOrCreate(path, recordSize, TRecordFile::Access::Read))
        return failed();
    scan.count = file.Count();
    if (begin)
        begin(scan.count);
    // Aligned for any record type the caller casts it to.
    const std::unique_ptr<std::max_align_t[]> buffer(
        new std::max_align_t[(recordSize + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t)]);
    while (!file.AtEnd()) {
        const std::int64_t card = file.Position() + 1;
        if (!file.ReadRecord(buffer.get()))
            return failed();
        if (!visit(buffer.get(), card)) {
            scan.stopped = true;
            break;
        }
    }
    if (!file.Close())
        return failed();
    return scan;
}

std::optional<std::int64_t> countRecords(const QString& path, std::size_t recordSize, QString* error) {
    if (!TRecordFile::Present(path))
        return 0;
    TRecordFile file;
    if (!file.OpenOrCreate(path, recordSize, TRecordFile::Access::Read)) {
        if (error)
            *error = file.ErrorString();
        return std::nullopt;
    }
    const std::int64_t count = file.Count();
    file.Close();
    return count;
}

bool ensureArchive(const QString& path, std::size_t recordSize, QString* error) {
    if (!path.isEmpty() && TRecordFile::Present(path))
        return true;
    TRecordFile file;
    const bool ok = file.OpenOrCreate(path, recordSize, TRecordFile::Access::Read) && file.Close();
    if (!ok && error)
        *error = file.ErrorString();
    return ok;
}

bool readRecordAt(const QString& path, std::size_t recordSize, std::int64_t card, void* record, QString* error) {
    if (!TRecordFile::Present(path)) {
        if (error)
            *error = QStringLiteral("la scheda %1 non è in archivio").arg(card);
        return false;
    }
    TRecordFile file;
    bool ok = file.OpenOrCreate(path, recordSize, TRecordFile::Access::Read);
    if (ok && (card < 1 || card > file.Count())) {
        if (error)
            *error = QStringLiteral("la scheda %1 non è in archivio").arg(card);
        file.Close();
        return false;
    }
    ok = ok && file.Seek(card - 1) && file.ReadRecord(record);
    if (!ok && error)
        *error = file.ErrorString();
    const bool closed = file.Close();
    return ok && closed;
}

} // namespace ombrisa
