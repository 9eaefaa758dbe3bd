#include "core/records/carddates.h"

#include "core/records/archivepaths.h"
#include "core/storage/recordfile.h"

#include <QDir>
#include <QFileInfo>
#include <array>
#include <cstring>

namespace ombrisa {
namespace {

using DatesRecord = std::array<char, kCardDatesRecordSize>;

void putDate(char* at, const QDate& day) {
    const QByteArray text = day.isValid() ? day.toString(QStringLiteral("yyyyMMdd")).toLatin1() : QByteArray();
    std::memset(at, 0, kCardDatesRecordSize / 2);
    if (text.size() == kCardDatesRecordSize / 2)
        std::memcpy(at, text.constData(), kCardDatesRecordSize / 2);
}

QDate dateAt(const char* at) {
    return QDate::fromString(QString::fromLatin1(at, kCardDatesRecordSize / 2), QStringLiteral("yyyyMMdd"));
}

QString failure(const TRecordFile& file) {
    return QStringLiteral("impossibile aggiornare le date delle schede (%1): %2")
        .arg(kClientDatesFile, file.ErrorString());
}

} // namespace

QString cardDatesPath(const QString& archivePath) {
    const QFileInfo archive(archivePath);
    if (archive.fileName() != kClientiFile)
        return {};
    return archive.dir().filePath(kClientDatesFile);
}

bool stampCardDates(const QString& archivePath, std::int64_t first, std::int64_t count, bool appended, const QDate& day,
                    QString* error) {
    const QString path = cardDatesPath(archivePath);
    if (path.isEmpty() || count <= 0)
        return true;
    TRecordFile file;
    auto fail = [&] {
        if (error)
            *error = failure(file);
        file.Close();
        return false;
    };
    if (!file.OpenOrCreate(path, kCardDatesRecordSize, TRecordFile::Access::Write))
        return fail();
    const std::int64_t last = first + count - 1; // the last card stamped
    const std::int64_t known = file.Count();
    // The creation dates of cards rewritten in place stay; read them first.
    std::vector<DatesRecord> records(static_cast<std::size_t>(last - first + 1), DatesRecord{});
    if (!appended && first <= known) {
        if (!file.Seek(first - 1))
            return fail();
        for (std::int64_t n = first; n <= std::min(last, known); ++n)
            if (!file.ReadRecord(records[static_cast<std::size_t>(n - first)].data()))
                return fail();
    }
    for (DatesRecord& r : records) {
        if (appended)
            putDate(r.data(), day);
        putDate(r.data() + kCardDatesRecordSize / 2, day);
    }
    std::vector<TRecordFile::Change> changes;
    const DatesRecord unknown{};
    for (std::int64_t n = known + 1; n < first; ++n)
        changes.push_back({TRecordFile::kAppend, nullptr, unknown.data()});
    for (std::int64_t n = first; n <= last; ++n)
        changes.push_back(
            {n <= known ? n - 1 : TRecordFile::kAppend, nullptr, records[static_cast<std::size_t>(n - first)].data()});
    if (file.WriteRecords(changes) != TRecordFile::UpdateResult::Written)
        return fail();
    if (!file.Close()) {
        if (error)
            *error = failure(file);
        return false;
    }
    return true;
}

bool readCardDates(const QString& archivePath, std::vector<CardDates>* dates, QString* error) {
    dates->clear();
    const QString path = cardDatesPath(archivePath);
    if (path.isEmpty() || !TRecordFile::Present(path))
        return true;
    TRecordFile file;
    if (!file.OpenOrCreate(path, kCardDatesRecordSize, TRecordFile::Access::Read)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(kClientDatesFile, file.ErrorString());
        return false;
    }
    dates->reserve(static_cast<std::size_t>(file.Count()));
    DatesRecord r{};
    while (!file.AtEnd()) {
        if (!file.ReadRecord(r.data())) {
            if (error)
                *error = QStringLiteral("%1: %2").arg(kClientDatesFile, file.ErrorString());
            dates->clear();
            file.Close();
            return false;
        }
        dates->push_back({dateAt(r.data()), dateAt(r.data() + kCardDatesRecordSize / 2)});
    }
    file.Close();
    return true;
}

QDate lastKnownChange(const std::vector<CardDates>& dates, std::int64_t card) {
    if (card < 1 || card > static_cast<std::int64_t>(dates.size()))
        return {};
    const CardDates& d = dates[static_cast<std::size_t>(card - 1)];
    return d.changed.isValid() ? d.changed : d.created;
}

} // namespace ombrisa
